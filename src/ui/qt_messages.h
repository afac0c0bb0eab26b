#pragma once
// The message seam over QMessageBox: modal boxes over the active window.
#include "runtime/messages.h"

namespace ligamor {

class QtMessages : public Messages {
public:
    void InformationBox(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    void PlainMessage(const std::string& text) override;
    void ErrorReport(const std::string& text) override;
};

}  // namespace ligamor
