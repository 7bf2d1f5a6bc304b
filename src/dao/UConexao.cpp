#include "dao/UConexao.h"

#include "platform/UErro.h"

#include <mysql.h>

void TConexao::TFecharMysql::operator()(st_mysql* handle) const {
    mysql_close(handle);
}

TConexao::TConexao(const std::string& host, const std::string& database, const std::string& usuario,
                   const std::string& senha, int porta)
    : FHandle(mysql_init(nullptr)), FHost(host), FDatabase(database) {
    if (!FHandle)
        throw EFalha("Out of memory");
    // Names must arrive one byte a character, as the export file holds them.
    mysql_options(FHandle.get(), MYSQL_SET_CHARSET_NAME, "latin1");
    // The client never asks for credentials: it has no prompt to turn off.
    if (!mysql_real_connect(FHandle.get(), host.empty() ? nullptr : host.c_str(), usuario.c_str(), senha.c_str(),
                            database.empty() ? nullptr : database.c_str(), static_cast<unsigned>(porta), nullptr, 0))
        // The handle is closed by its owner on the way out.
        throw EFalha(mysql_error(FHandle.get()));
}

TConexao::~TConexao() = default;

std::string TConexao::VersaoServidor() const {
    return mysql_get_server_info(FHandle.get());
}
