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

void MessageGate::InformationBox(const std::string& text)
{
    if (holding_) held_.emplace_back(Kind::Information, text);
    else Pass(Kind::Information, text);
}

void MessageGate::ErrorBox(const std::string& text)
{
    if (holding_) held_.emplace_back(Kind::Error, text);
    else Pass(Kind::Error, text);
}

void MessageGate::PlainMessage(const std::string& text)
{
    if (holding_) held_.emplace_back(Kind::Plain, text);
    else Pass(Kind::Plain, text);
}

void MessageGate::ErrorReport(const std::string& text)
{
    if (holding_) held_.emplace_back(Kind::Report, text);
    else Pass(Kind::Report, text);
}

void MessageGate::ShowHeld()
{
    holding_ = false;
    std::vector<std::pair<Kind, std::string>> held;
    held.swap(held_);
    for (const auto& [kind, text] : held) Pass(kind, text);
}

void MessageGate::DropHeld()
{
    holding_ = false;
    held_.clear();
}

}  // namespace ligamor
