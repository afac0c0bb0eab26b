#include "runtime/messages.h"

namespace ligamor {

std::string ErrorReportText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

void MessageGate::Pass(Kind kind, const std::string& text)
{
    switch (kind) {
    case Kind::Information: return shown_.InformationBox(text);
    case Kind::Error: return shown_.ErrorBox(text);
    case Kind::Plain: return shown_.PlainMessage(text);
    case Kind::Report: return shown_.ErrorReport(text);
    }
}

void MessageGate::Take(Kind kind, const std::string& text)
{
    if (Holding()) held_.emplace_back(kind, text);
    else Pass(kind, text);
}

void MessageGate::InformationBox(const std::string& text) { Take(Kind::Information, text); }
void MessageGate::ErrorBox(const std::string& text) { Take(Kind::Error, text); }
void MessageGate::PlainMessage(const std::string& text) { Take(Kind::Plain, text); }
void MessageGate::ErrorReport(const std::string& text) { Take(Kind::Report, text); }

void MessageGate::ShowHeld()
{
    if (marks_.empty()) return;
    marks_.pop_back();
    if (!marks_.empty()) return;
    std::vector<std::pair<Kind, std::string>> held;
    held.swap(held_);
    for (const auto& [kind, text] : held) Pass(kind, text);
}

void MessageGate::DropHeld()
{
    if (marks_.empty()) return;
    held_.resize(marks_.back());
    marks_.pop_back();
}

}  // namespace ligamor
