#pragma once
// The message seam: the core never opens a window, it asks this seam to show
// its boxes. Texts are Windows-1252 bytes; each front end decodes them.
#include <string>

namespace ligamor {

class Messages {
public:
    virtual ~Messages() = default;
    // Information icon, caption "Informação", one "OK".
    virtual void InformationBox(const std::string& text) = 0;
    // Error icon, caption "Erro", one "OK".
    virtual void ErrorBox(const std::string& text) = 0;
    // No icon, titled with the application's title, one OK.
    virtual void PlainMessage(const std::string& text) = 0;
    // The error report: error icon, the application's title, the text as
    // ErrorReportText made it.
    virtual void ErrorReport(const std::string& text) = 0;
};

// The failure's message with "." added when its last character sorts after ".".
std::string ErrorReportText(const std::string& message);

}  // namespace ligamor
