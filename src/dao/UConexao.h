#pragma once

#include <memory>
#include <string>

struct st_mysql;

// One open MySQL connection. It owns the client's handle and closes it when destroyed.
// Its character set is latin1 (MySQL's name for code page 1252): text arrives one byte a character.
class TConexao {
public:
    // Opens at once; fails with EFalha carrying the client's own error text, leaving nothing allocated.
    TConexao(const std::string& host, const std::string& database, const std::string& usuario, const std::string& senha,
             int porta);
    ~TConexao();
    TConexao(const TConexao&) = delete;
    TConexao& operator=(const TConexao&) = delete;

    st_mysql* Handle() const { return FHandle.get(); }
    const std::string& Host() const { return FHost; }
    const std::string& Database() const { return FDatabase; }
    // The version the server reports, such as "10.11.6-MariaDB-0+deb12u1".
    std::string VersaoServidor() const;

private:
    struct TFecharMysql {
        void operator()(st_mysql* handle) const;
    };
    std::unique_ptr<st_mysql, TFecharMysql> FHandle;
    std::string FHost;
    std::string FDatabase;
};
