#pragma once
// What both windows' log views do apart from drawing: the log's lines
// (LogIndex), which line is on top, following the end of a growing log, and
// the lines the user selected to copy. The views are read-only: what they
// show is always the log file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/log_view.h"
#include "window/log_index.h"

namespace ligamor {

class LogPane : public LogView {
public:
    void Clear() override;
    void SetWhole(std::string_view bytes) override;
    void AppendTail(std::string_view bytes) override;
    bool EditedSinceFill() const override { return false; }

    const LogIndex& Lines() const { return index_; }
    // The first line on screen. A reader at the end keeps following the log;
    // anyone else keeps the line they were reading.
    std::size_t TopLine() const;
    std::size_t MaxTop() const;
    std::size_t Rows() const { return rows_; }

    // How many whole lines the screen holds (at least one).
    void SetRows(std::size_t rows);
    // Puts line on top, as far as it can go; false when nothing moved. At
    // the end (and not at the start) the view follows the log from then on.
    bool ScrollTo(long long line);

    // The selected lines run from where a click started to the caret, either
    // way round.
    bool HasSelection() const { return selected_; }
    std::size_t SelectionFirst() const;
    std::size_t SelectionLast() const;
    bool IsSelected(std::size_t line) const;
    // A click on a line; extend: with Shift, or dragging.
    void Select(std::size_t line, bool extend);
    // Shift with an arrow key: the caret moves by lines and stays on screen.
    void MoveCaret(long long lines);
    void SelectAll();
    // The selected lines' text, lineEnd between them: what Ctrl+C copies.
    std::u16string SelectedText(std::u16string_view lineEnd) const;

    // The width of the longest line as measure(text) gives it, measured
    // again only when that line changed (or after ForgetWidth: a new font).
    template <class Measure>
    int LongestWidth(Measure&& measure) const
    {
        const std::size_t line = index_.Longest();
        const std::size_t bytes = index_.LongestBytes();
        if (line != measuredLine_ || bytes != measuredBytes_) {
            measuredLine_ = line;
            measuredBytes_ = bytes;
            const std::vector<std::u16string> text = index_.Shown(line, 1);
            measuredWidth_ = text.empty() ? 0 : measure(text.front());
        }
        return measuredWidth_;
    }
    void ForgetWidth() { measuredLine_ = static_cast<std::size_t>(-1); }

protected:
    // After a fill: lines from firstChanged on may read differently, and the
    // top line was oldTop. The view sets its scroll bars and draws.
    virtual void Refilled(std::size_t firstChanged, std::size_t oldTop) = 0;

private:
    LogIndex index_;
    std::size_t rows_ = 1;
    std::size_t wantedTop_ = 0;
    bool following_ = false;
    // A refill empties the view first; where the reader was is taken then.
    bool cleared_ = false;
    std::size_t topBeforeClear_ = 0;
    bool followingBeforeClear_ = false;
    bool selected_ = false;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    mutable std::size_t measuredLine_ = static_cast<std::size_t>(-1);
    mutable std::size_t measuredBytes_ = 0;
    mutable int measuredWidth_ = 0;
};

}  // namespace ligamor
