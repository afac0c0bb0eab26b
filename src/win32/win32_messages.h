#pragma once
// The message seam over the system's message box, modal to the whole program.
#include <string>

#include "runtime/messages.h"

namespace ligamor {

class Win32Messages : public Messages {
public:
    void InformationBox(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    void PlainMessage(const std::string& text) override;
    void ErrorReport(const std::string& text) override;
};

// The program sets no title of its own: the executable's name without its
// extension ("ligamor") titles the plain message and the error report.
std::wstring ApplicationTitle();

}  // namespace ligamor
