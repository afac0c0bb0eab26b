#include "runtime/service_install.h"

namespace ligamor {

namespace {

const char* const kUseTheTemplate =
    "no Linux, cada integração é uma instância da unidade ligamor@.service: salve as configurações em "
    "/etc/ligamor/NOME.csi e use systemctl enable --now ligamor@NOME";

}  // namespace

std::string InstallNamedService(const std::string&, const std::string&)
{
    return kUseTheTemplate;
}

std::string RemoveNamedService(const std::string&)
{
    return kUseTheTemplate;
}

}  // namespace ligamor
