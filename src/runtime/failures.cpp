#include "runtime/failures.h"

namespace ligamor {

std::string IoErrorMessage(int osCode)
{
    switch (osCode) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(osCode);
    }
}

IoFailure::IoFailure(int osCode) : Failure(IoErrorMessage(osCode)), code_(osCode) {}

ConversionFailure InvalidInteger(const std::string& text)
{
    return ConversionFailure("'" + text + "' is not a valid integer value");
}

ConversionFailure InvalidDate(const std::string& text)
{
    return ConversionFailure("'" + text + "' is not a valid date");
}

std::string WholeText(const std::exception& failure)
{
    if (const auto* own = dynamic_cast<const Failure*>(&failure)) return own->Message();
    return failure.what();
}

}  // namespace ligamor
