#pragma once
// frmConfiguracao in Qt: the dialog that edits the settings file, picks the
// database file and tests a connection with the values on screen. What it
// does is the toolkit-free SettingsForm's: this class draws it.
#include <QDialog>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <string>

#include "window/settings_form.h"

namespace ligamor {

class TfrmConfiguracao : public QDialog, private SettingsFormView {
public:
    explicit TfrmConfiguracao(SettingsForm& form, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QToolButton* btnCaminho;
    QToolButton* btnTestar;
    // The fields, each with its label where the settings keys place it.
    QLineEdit* edtservidor;
    QLineEdit* edtcaminho;
    QLineEdit* edtusuario;
    QLineEdit* edtsenha;
    QLineEdit* edtcaminhoenvio;
    QLineEdit* edtcaminhoretorno;
    QLineEdit* edtempoverificacao;
    QLineEdit* edtcaminholog;
    QFrame* Bevel1;
    QPushButton* BtnOK;
    QPushButton* BtnCancelar;
    QFileDialog* OpenDlg;

    void FormShow();
    void btnTestarClick();
    void btnCaminhoClick();
    // True when the typed character may reach the field.
    static bool edtempoverificacaoKeyPress(const QString& typed);
    // OK, Enter: the form takes the values on screen.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildDatabaseGroup();
    void BuildFields();
    void BuildButtons();
    // Each field's letter case and input, as the form's table gives them.
    void ApplyFieldRules();
    QLineEdit* Field(const char* widget) const;
    QLineEdit* Field(const SettingsFormField& field) const;
    std::string Text(const SettingsFormField& field) const override;
    void SetText(const SettingsFormField& field, const std::string& text) override;

    SettingsForm& form_;
    bool shown_ = false;
};

// Shows the dialog modally; on OK writes the settings file and gives true.
// Cancel, Escape and the close box write nothing and give false.
bool ShowConfigurationDialog(SettingsFormServices& services);

}  // namespace ligamor
