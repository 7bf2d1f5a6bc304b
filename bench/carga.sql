-- A business database of realistic size for the benchmark: 300,000 customers with Portuguese names,
-- 1,000,000 receivable rows in March 2024, 5% of them left out by the export's conditions.
-- Read as UTF-8 and stored as latin1, like the business system's own text.

CREATE TABLE bench_digito (n INT PRIMARY KEY);
INSERT INTO bench_digito VALUES (0),(1),(2),(3),(4),(5),(6),(7),(8),(9);

CREATE TABLE bench_seq (n INT PRIMARY KEY);
INSERT INTO bench_seq
SELECT a.n + 10 * b.n + 100 * c.n + 1000 * d.n + 10000 * e.n + 100000 * f.n
FROM bench_digito a, bench_digito b, bench_digito c, bench_digito d, bench_digito e, bench_digito f;

CREATE TABLE bench_prenome (id INT PRIMARY KEY, nome VARCHAR(30)) DEFAULT CHARSET=latin1;
INSERT INTO bench_prenome VALUES
(0,'João'),(1,'José'),(2,'Antônio'),(3,'Francisco'),(4,'Carlos'),(5,'Paulo'),(6,'Pedro'),(7,'Lucas'),
(8,'Luís'),(9,'Marcos'),(10,'Luiz'),(11,'Gabriel'),(12,'Rafael'),(13,'Daniel'),(14,'Marcelo'),(15,'Bruno'),
(16,'Eduardo'),(17,'Felipe'),(18,'Raimundo'),(19,'Rodrigo'),(20,'Maria'),(21,'Ana'),(22,'Francisca'),
(23,'Antônia'),(24,'Adriana'),(25,'Juliana'),(26,'Márcia'),(27,'Fernanda'),(28,'Patrícia'),(29,'Aline'),
(30,'Sandra'),(31,'Camila'),(32,'Amanda'),(33,'Bruna'),(34,'Jéssica'),(35,'Letícia'),(36,'Júlia'),
(37,'Luciana'),(38,'Vanessa'),(39,'Mariana'),(40,'Conceição'),(41,'Sebastião'),(42,'Fábio'),(43,'Vânia'),
(44,'Inês'),(45,'Célia'),(46,'Mônica'),(47,'Débora'),(48,'Sérgio'),(49,'Rogério'),(50,'Vinícius'),
(51,'Caio'),(52,'Tiago'),(53,'Ângela'),(54,'Lúcia'),(55,'Hélio'),(56,'Igor'),(57,'Otávio'),(58,'Ítalo'),
(59,'Gláucia');

CREATE TABLE bench_sobrenome (id INT PRIMARY KEY, nome VARCHAR(30)) DEFAULT CHARSET=latin1;
INSERT INTO bench_sobrenome VALUES
(0,'Silva'),(1,'Santos'),(2,'Oliveira'),(3,'Souza'),(4,'Rodrigues'),(5,'Ferreira'),(6,'Alves'),
(7,'Pereira'),(8,'Lima'),(9,'Gomes'),(10,'Costa'),(11,'Ribeiro'),(12,'Martins'),(13,'Carvalho'),
(14,'Almeida'),(15,'Lopes'),(16,'Soares'),(17,'Fernandes'),(18,'Vieira'),(19,'Barbosa'),(20,'Rocha'),
(21,'Dias'),(22,'Nascimento'),(23,'Andrade'),(24,'Moreira'),(25,'Nunes'),(26,'Marques'),(27,'Machado'),
(28,'Mendes'),(29,'Freitas'),(30,'Cardoso'),(31,'Ramos'),(32,'Gonçalves'),(33,'Santana'),(34,'Teixeira'),
(35,'Araújo'),(36,'Magalhães'),(37,'Assunção'),(38,'Simões'),(39,'Brandão'),(40,'Falcão'),
(41,'Conceição'),(42,'Romão'),(43,'Guimarães'),(44,'Peixoto'),(45,'Azevedo'),(46,'Câmara'),(47,'Leão'),
(48,'Damião'),(49,'Estêvão'),(50,'Trindade'),(51,'Valadão'),(52,'Barros'),(53,'Pinheiro'),
(54,'Cavalcanti'),(55,'Queirós'),(56,'Jordão'),(57,'Monteiro'),(58,'Fonseca'),(59,'Borges');

INSERT INTO empresa VALUES (1, 'COMERCIAL EXEMPLO LTDA', 'N'), (2, 'OUTRA EMPRESA', 'N');
INSERT INTO filial VALUES (1, 'LOJA CENTRO', '12345678000190', 'N'), (2, 'LOJA NORTE', '12345678000270', 'N'),
                          (3, 'LOJA SUL', '12345678000350', 'N');
INSERT INTO grupo SELECT n + 1, CONCAT('GRUPO ', n + 1), 'N' FROM bench_seq WHERE n < 10;
INSERT INTO produto SELECT n + 1, CONCAT('PRODUTO ', n + 1), n % 10 + 1 FROM bench_seq WHERE n < 50;

-- Names of three or four words, upper case as the business system keeps them; one in seven runs past the
-- export's 40 characters. Badges of up to eight digits, one in fifty empty.
INSERT INTO clientes
SELECT s.n + 1,
       UPPER(CONCAT(p.nome, ' ', s1.nome, ' ', s2.nome, IF(s.n % 7 = 0, CONCAT(' ', s3.nome, ' ', s1.nome), ''))),
       IF(s.n % 50 = 0, '', CAST((s.n * 7919) % 99999999 AS CHAR)),
       1, 'N'
FROM bench_seq s
JOIN bench_prenome p ON p.id = s.n % 60
JOIN bench_sobrenome s1 ON s1.id = (s.n DIV 60) % 60
JOIN bench_sobrenome s2 ON s2.id = (s.n DIV 3600) % 60
JOIN bench_sobrenome s3 ON s3.id = (s.n * 13) % 60
WHERE s.n < 300000;

-- Postings of one to three rows: rows 3k and 3k+1 share a posting, row 3k+2 has one of its own.
-- One row in twenty fails a condition: deleted, amortised or without an amount.
INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id, filial_id, produto_id)
SELECT CAST(t.p AS CHAR),
       TIMESTAMP('2024-03-01') + INTERVAL (t.p % 31) DAY + INTERVAL ((t.p * 37) % 86400) SECOND,
       TIMESTAMP('2024-04-01') + INTERVAL (t.p % 30) DAY,
       IF(t.n % 60 = 40, 0.00, ((t.n * 7907) % 500000) / 100 + 0.01),
       IF(t.n % 60 = 20, 100, 0),
       IF(t.n % 60 = 0, 'S', 'N'),
       (t.p * 7919) % 300000 + 1,
       t.n % 3 + 1,
       t.n % 50 + 1
FROM (SELECT n, (n DIV 3) * 2 + IF(n % 3 = 2, 1, 0) AS p FROM bench_seq) t;

DROP TABLE bench_seq, bench_digito, bench_prenome, bench_sobrenome;
ANALYZE TABLE receber, clientes, filial, produto;
