#pragma once
// A second (third, ...) service of the same program on one Windows computer,
// one per send directory: ligamor-service.exe --instalar NOME --config
// ARQUIVO adds the service NOME, automatic, as LocalSystem, which runs
// "ligamor-service.exe --servico NOME --config ARQUIVO", and the event
// source NOME with this program's message table; --remover NOME takes both
// away. On Linux the template unit ligamor@.service does this.
#include <string>

namespace ligamor {

// Both return an empty text when done, or what went wrong (UTF-8).
std::string InstallNamedService(const std::string& name, const std::string& settingsFile);
std::string RemoveNamedService(const std::string& name);

}  // namespace ligamor
