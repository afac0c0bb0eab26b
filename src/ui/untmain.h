#pragma once
// frmmain: the one main window. It shows the integration log in rce and owns
// the context menu that switches polling on and off. What the window does,
// and when, is the toolkit-free WindowController's: this class draws it.
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>

#include "engine/untfuncoes.h"
#include "ui/log_view_edit.h"
#include "ui/qt_timer.h"
#include "ui/status_bar_parts.h"
#include "ui/window_progress.h"
#include "window/window_appearance.h"
#include "window/window_controller.h"

namespace ligamor {

class Tfrmmain : public QMainWindow, private WindowSurface {
public:
    // temporizador must be the timer that integration drives.
    // The window becomes integration's progress hook.
    Tfrmmain(Integration& integration, QtTimer& temporizador, QWidget* parent = nullptr);
    ~Tfrmmain() override;

    QtTimer& temporizador;
    LogViewEdit* rce;
    QStatusBar* stbmain;
    StatusBarParts* stbmainParts;  // what the status bar holds, as the status-bar rule places it
    QLabel* stbmainPanel;          // the banner
    QProgressBar* prbCiclo;        // shown only while a cycle runs
    QLabel* lblEstado;             // the integration's health beside the banner; its reason as the tool tip
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
    // The controller, for tests that look at what the window is the face of.
    const WindowController& Controller() const { return controller_; }

    WindowProgress progress;

protected:
    // The first show runs FormShow before the window reaches the screen, so
    // that a message of activation comes first.
    void showEvent(QShowEvent* event) override;
    // The close button acts as "&Fechar".
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();

    void ShowChecks(bool ativar, bool desativar) override;
    void CloseWindow() override { close(); }
    void BringToFront() override;
    void RunConfigurationDialog() override;
    void StopCycleAfterLine() override { progress.RequestStop(); }
    void CycleOver() override { progress.CycleEnded(); }
    void ShowHealth(HealthState state, const std::string& utf8Line) override;
    void ShowHolder(const std::string& utf8Text) override;
    void ShowHolderProgress(const std::string& fileName, std::size_t done, std::size_t total) override
    {
        progress.ShowWatched(fileName, done, total);
    }

    Integration& integration_;
    QtTimer listen_;  // the controller's Listen, twice a second
    WindowController controller_;
    bool centred_ = false;
};

}  // namespace ligamor
