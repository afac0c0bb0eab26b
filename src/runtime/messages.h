#pragma once
// The message seam: the core never opens a window, it asks this seam to show
// its boxes. Texts are Windows-1252 bytes; each front end decodes them.
#include <string>
#include <utility>
#include <vector>

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

// Passes every box on to the front end's seam, except while a line is on
// trial: then its boxes wait, to be shown if the line stops the cycle after
// all, or dropped when the line is set aside (its reason is written instead,
// and nobody has to be there to close a box).
class MessageGate : public Messages {
public:
    explicit MessageGate(Messages& shown) : shown_(shown) {}
    void InformationBox(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    void PlainMessage(const std::string& text) override;
    void ErrorReport(const std::string& text) override;

    void Hold() { holding_ = true; }
    // Shows what was held, in order, and holds no more.
    void ShowHeld();
    // Forgets what was held, and holds no more.
    void DropHeld();

private:
    enum class Kind { Information, Error, Plain, Report };
    void Pass(Kind kind, const std::string& text);
    Messages& shown_;
    bool holding_ = false;
    std::vector<std::pair<Kind, std::string>> held_;
};

// The failure's message with "." added when its last character sorts after ".".
std::string ErrorReportText(const std::string& message);

}  // namespace ligamor
