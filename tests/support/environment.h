#pragma once
// Setting and removing this process's environment variables in a test.
#include <string>

namespace ligamor::test {

void SetEnvironment(const std::string& name, const std::string& value);
void UnsetEnvironment(const std::string& name);

}  // namespace ligamor::test
