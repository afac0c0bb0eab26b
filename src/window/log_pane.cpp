#include "window/log_pane.h"

#include <algorithm>

namespace ligamor {

std::size_t LogPane::MaxTop() const
{
    return index_.Count() > rows_ ? index_.Count() - rows_ : 0;
}

std::size_t LogPane::TopLine() const
{
    return following_ ? MaxTop() : std::min(wantedTop_, MaxTop());
}

void LogPane::Clear()
{
    const std::size_t old = TopLine();
    if (!cleared_) {
        cleared_ = true;
        topBeforeClear_ = old;
        followingBeforeClear_ = following_;
    }
    index_.Clear();
    selected_ = false;
    anchor_ = caret_ = 0;
    Refilled(0, old);
}

void LogPane::SetWhole(std::string_view bytes)
{
    const std::size_t old = TopLine();
    if (cleared_) {
        // The log may come in pieces: the place is given back now and kept
        // while the rest arrives, not clamped to the first piece.
        wantedTop_ = topBeforeClear_;
        following_ = followingBeforeClear_;
        cleared_ = false;
    }
    index_.SetWhole(FillState(), bytes);
    Refilled(0, old);
}

void LogPane::AppendTail(std::string_view bytes)
{
    cleared_ = false;
    const std::size_t old = TopLine();
    const std::size_t openLine = index_.Count() - 1;
    index_.Append(bytes);
    Refilled(openLine, old);
}

void LogPane::SetRows(std::size_t rows)
{
    rows_ = std::max<std::size_t>(rows, 1);
}

bool LogPane::ScrollTo(long long line)
{
    const std::size_t old = TopLine();
    const auto top = static_cast<std::size_t>(std::clamp<long long>(line, 0, static_cast<long long>(MaxTop())));
    wantedTop_ = top;
    following_ = top > 0 && top == MaxTop();
    return top != old;
}

std::size_t LogPane::SelectionFirst() const
{
    return std::min(anchor_, caret_);
}

std::size_t LogPane::SelectionLast() const
{
    return std::max(anchor_, caret_);
}

bool LogPane::IsSelected(std::size_t line) const
{
    return selected_ && line >= SelectionFirst() && line <= SelectionLast();
}

void LogPane::Select(std::size_t line, bool extend)
{
    line = std::min(line, index_.Count() - 1);
    if (!extend || !selected_) anchor_ = line;
    caret_ = line;
    selected_ = true;
}

void LogPane::MoveCaret(long long lines)
{
    if (!selected_) anchor_ = caret_ = TopLine();
    const long long last = static_cast<long long>(index_.Count()) - 1;
    caret_ = static_cast<std::size_t>(std::clamp<long long>(static_cast<long long>(caret_) + lines, 0, last));
    selected_ = true;
    const std::size_t top = TopLine();
    if (caret_ < top) ScrollTo(static_cast<long long>(caret_));
    else if (caret_ >= top + rows_) ScrollTo(static_cast<long long>(caret_ - rows_ + 1));
}

void LogPane::SelectAll()
{
    anchor_ = 0;
    caret_ = index_.Count() - 1;
    selected_ = true;
}

std::u16string LogPane::SelectedText(std::u16string_view lineEnd) const
{
    if (!selected_) return {};
    return index_.Text(SelectionFirst(), SelectionLast(), lineEnd);
}

}  // namespace ligamor
