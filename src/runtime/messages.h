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

// Passes every box on to the front end's seam, except while it holds them:
// during a cycle, so that the health says the cycle failed before a box waits
// for someone to close it; and while a line is on trial, whose boxes are
// dropped when the line is set aside (its reason is written instead).
// Holds nest: the boxes are shown when the outermost hold ends.
class MessageGate : public Messages {
public:
    explicit MessageGate(Messages& shown) : shown_(shown) {}
    void InformationBox(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    void PlainMessage(const std::string& text) override;
    void ErrorReport(const std::string& text) override;

    void Hold() { marks_.push_back(held_.size()); }
    // Ends the innermost hold; the outermost shows what was held, in order.
    void ShowHeld();
    // Ends the innermost hold, forgetting what was held since it began.
    void DropHeld();
    bool Holding() const { return !marks_.empty(); }

private:
    enum class Kind { Information, Error, Plain, Report };
    void Pass(Kind kind, const std::string& text);
    void Take(Kind kind, const std::string& text);
    Messages& shown_;
    std::vector<std::size_t> marks_;  // where each hold began in held_
    std::vector<std::pair<Kind, std::string>> held_;
};

// One hold of the gate (none: nothing held), ended on every path: shown
// unless dropped. A gate left holding would swallow every later box.
class HeldMessages {
public:
    explicit HeldMessages(MessageGate* gate) : gate_(gate)
    {
        if (gate_) gate_->Hold();
    }
    ~HeldMessages()
    {
        try {
            Show();
        } catch (...) {
            // A box that cannot be shown while a failure unwinds is lost with it.
        }
    }
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    void Show()
    {
        if (MessageGate* gate = std::exchange(gate_, nullptr)) gate->ShowHeld();
    }
    void Drop()
    {
        if (MessageGate* gate = std::exchange(gate_, nullptr)) gate->DropHeld();
    }

private:
    MessageGate* gate_;
};

// The failure's message with "." added when its last character sorts after ".".
std::string ErrorReportText(const std::string& message);

}  // namespace ligamor
