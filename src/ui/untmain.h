#pragma once
// frmmain: the one main window. It shows the integration log in rce, owns the
// context menu that switches polling on and off, and runs every event's work
// through RunHandler so that no failure escapes into Qt.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include "engine/untfuncoes.h"
#include "ui/log_view_edit.h"
#include "ui/qt_timer.h"

namespace ligamor {

// The maker's telephone number in the banner; a deployment value.
inline constexpr const char* kMakerPhone = "(51) 0000-0000";

// "VELDOR SISTEMAS (51) 0000-0000 - Ligamor PAF-ECF"
QString MakerBanner();

class Tfrmmain : public QMainWindow {
public:
    // temporizador must be the timer that integration drives.
    Tfrmmain(Integration& integration, QtTimer& temporizador, QWidget* parent = nullptr);

    QtTimer& temporizador;
    LogViewEdit* rce;
    QStatusBar* stbmain;
    QLabel* stbmainPanel;
    QMenu* PopupMenu1;
    QAction* Ativar1;
    QAction* Desativar1;
    QAction* N2;
    QAction* VisualizarLogs1;
    QAction* N1;
    QAction* Configuraes1;
    QAction* Fechar1;

    void FormShow();
    void temporizadorTimer();
    void Ativar1Click();
    void Desativar1Click();
    void VisualizarLogs1Click();
    void Configuraes1Click();
    void Fechar1Click();

protected:
    // The first show runs FormShow before the window reaches the screen, so
    // that a message of activation comes first.
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void Run(const std::function<void()>& work);

    Integration& integration_;
    bool shown_ = false;
};

}  // namespace ligamor
