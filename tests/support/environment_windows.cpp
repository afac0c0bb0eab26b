#include <cstdlib>

#include "support/environment.h"

namespace ligamor::test {

// The C runtime's copy of the environment, which std::getenv reads.
void SetEnvironment(const std::string& name, const std::string& value)
{
    _putenv_s(name.c_str(), value.c_str());
}

void UnsetEnvironment(const std::string& name)
{
    _putenv_s(name.c_str(), "");  // an empty value removes the variable
}

}  // namespace ligamor::test
