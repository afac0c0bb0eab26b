#include "ui/log_view_edit.h"

#include <algorithm>

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/text_codec.h"

namespace ligamor {

LogViewEdit::LogViewEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    // Typed text is thrown away at the next fill, and an undo history of a
    // log that only grows would only cost memory.
    document()->setUndoRedoEnabled(false);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int from, int removed, int added) { OnContentsChange(from, removed, added); });
}

void LogViewEdit::OnContentsChange(int, int removed, int added)
{
    if (!filling_ && (removed != 0 || added != 0)) edited_ = true;
}

LogViewEdit::Place LogViewEdit::SavePlace() const
{
    Place p;
    p.cursor = textCursor().position();
    p.vertical = verticalScrollBar()->value();
    p.horizontal = horizontalScrollBar()->value();
    p.atBottom = p.vertical > 0 && p.vertical == verticalScrollBar()->maximum();
    return p;
}

void LogViewEdit::RestorePlace(const Place& p)
{
    QTextCursor c(document());
    c.setPosition(std::min(p.cursor, document()->characterCount() - 1));
    setTextCursor(c);
    // A reader at the end keeps following the log; anyone else keeps the line
    // they were reading.
    verticalScrollBar()->setValue(p.atBottom ? verticalScrollBar()->maximum() : p.vertical);
    horizontalScrollBar()->setValue(p.horizontal);
}

void LogViewEdit::Clear()
{
    // A refill empties the view before it sets the whole log again; the place
    // is taken before the emptying so that the refill can give it back.
    if (!placeBeforeClear_) placeBeforeClear_ = SavePlace();
    filling_ = true;
    clear();
    filling_ = false;
    edited_ = false;
    endsWithCr_ = false;
}

void LogViewEdit::SetWhole(std::string_view bytes)
{
    Place place = placeBeforeClear_.value_or(SavePlace());
    placeBeforeClear_.reset();
    filling_ = true;
    setPlainText(FromCp1252(bytes));
    RestorePlace(place);
    filling_ = false;
    edited_ = false;
    endsWithCr_ = !bytes.empty() && bytes.back() == '\r';
}

void LogViewEdit::AppendTail(std::string_view bytes)
{
    if (bytes.empty()) return;
    if (endsWithCr_ && bytes.front() == '\n') {
        bytes.remove_prefix(1);
        endsWithCr_ = false;
        if (bytes.empty()) return;
    }
    placeBeforeClear_.reset();
    Place place = SavePlace();
    filling_ = true;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(FromCp1252(bytes));
    RestorePlace(place);
    filling_ = false;
    endsWithCr_ = bytes.back() == '\r';
}

}  // namespace ligamor
