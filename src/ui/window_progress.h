#pragma once
// The window's side of a cycle in Qt: the bar "PRODUTO.TXT: 4.500 de 20.000
// linhas" in the status bar, and the event loop run between two lines, both
// paced by PacedProgress.
#include <cstddef>
#include <string>

#include "ui/status_bar_parts.h"
#include "window/paced_progress.h"

namespace ligamor {

class WindowProgress : public PacedProgress {
public:
    // The bar stays hidden outside cycles.
    explicit WindowProgress(StatusBarParts& statusBar) : statusBar_(statusBar) {}

    // The window as it is between cycles: bar hidden, no stop pending.
    void CycleEnded();

protected:
    void Show(const std::string& fileName, std::size_t done, std::size_t total) override;
    void LetEventsThrough() override;

private:
    StatusBarParts& statusBar_;
};

}  // namespace ligamor
