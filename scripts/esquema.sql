-- The tables of the business system that the program reads, as far as it reads them.
CREATE TABLE empresa (
    empresa_id INT NOT NULL PRIMARY KEY,
    nome VARCHAR(60),
    apagado CHAR(1)
) DEFAULT CHARSET=latin1;

CREATE TABLE filial (
    filial_id INT NOT NULL PRIMARY KEY,
    nome VARCHAR(60),
    cgc VARCHAR(20),
    apagado CHAR(1)
) DEFAULT CHARSET=latin1;

CREATE TABLE clientes (
    clientes_id INT NOT NULL PRIMARY KEY,
    nome VARCHAR(80),
    chapa VARCHAR(20),
    empresa_id INT,
    apagado CHAR(1)
) DEFAULT CHARSET=latin1;

CREATE TABLE grupo (
    grupo_id INT NOT NULL PRIMARY KEY,
    desc_arvore VARCHAR(100),
    apagado CHAR(1)
) DEFAULT CHARSET=latin1;

CREATE TABLE produto (
    produto_id INT NOT NULL PRIMARY KEY,
    descricao VARCHAR(60),
    grupo_id INT
) DEFAULT CHARSET=latin1;

CREATE TABLE receber (
    receber_id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    numlanc VARCHAR(20),
    datahora DATETIME,
    vencimento DATETIME,
    valortotal DECIMAL(15,2),
    amort DECIMAL(5,2),
    apagado CHAR(1),
    clientes_id INT,
    filial_id INT,
    produto_id INT
) DEFAULT CHARSET=latin1;
