#pragma once
// rce: the window's view of the integration log. The engine fills it whole or
// appends what the log gained; the user may type into it, which the next fill
// undoes.
#include <QPlainTextEdit>
#include <optional>

#include "engine/log_view.h"

namespace ligamor {

class LogViewEdit : public QPlainTextEdit, public LogView {
public:
    explicit LogViewEdit(QWidget* parent = nullptr);

    void Clear() override;
    void SetWhole(std::string_view bytes) override;
    void AppendTail(std::string_view bytes) override;
    bool EditedSinceFill() const override { return edited_; }

private:
    // Where the caret and the scroll bars stand, kept across a fill so that
    // a refill and an append look the same to the reader.
    struct Place {
        int cursor = 0;
        int vertical = 0;
        int horizontal = 0;
        bool atBottom = false;
    };
    Place SavePlace() const;
    void RestorePlace(const Place& place);
    void OnContentsChange(int from, int removed, int added);

    std::optional<Place> placeBeforeClear_;
    bool filling_ = false;
    bool edited_ = false;
    // The last byte of the last fill was a CR: a tail that starts with LF
    // completes that CR LF, which already ended the line.
    bool endsWithCr_ = false;
};

}  // namespace ligamor
