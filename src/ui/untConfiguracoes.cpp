#include "ui/untConfiguracoes.h"

#include <QDir>
#include <QKeyEvent>
#include <QShowEvent>
#include <QStyle>
#include <QValidator>
#include <memory>

#include "runtime/run_handler.h"
#include "ui/text_codec.h"
#include "window/settings_dialog_frame.h"

namespace ligamor {

namespace {

// Letters are shown and stored in upper case, whether typed or pasted.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// Pasted text (Ctrl+V, Shift+Insert, the context menu) never passes the key
// filter: it keeps only the digits, as typing it would.
class DigitsOnlyValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        QString digits;
        int newPos = 0;
        for (int i = 0; i < input.size(); ++i) {
            if (!IsIntervalDigit(input[i].unicode())) continue;
            digits += input[i];
            if (i < pos) ++newPos;
        }
        input = digits;
        pos = newPos;
        return Acceptable;
    }
};

// The labels were laid out for a narrow 8-point font; where the font that
// stands in for it is wider, the label is narrowed until it ends before its
// field instead of running under it.
void FitWidth(QLabel* label, int width)
{
    QFont font = label->font();
    for (int stretch = 100; label->sizeHint().width() > width && stretch > 60; stretch -= 5) {
        font.setStretch(stretch - 5);
        label->setFont(font);
    }
    while (label->sizeHint().width() > width && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

QRect Geometry(const DialogRect& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}

// A field and its label, where the table places them; the table also says
// which setting the field shows.
void MakeField(QWidget* box, const SettingsFormField& field)
{
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QString::fromLatin1(field.widget));
    edit->setGeometry(Geometry(FieldRect(field.place)));
    auto* label = new QLabel(QString::fromUtf8(field.label), box);
    label->setBuddy(edit);
    const DialogRect place = LabelRect(field.place);
    FitWidth(label, place.width - 2);
    label->adjustSize();
    label->move(place.left, place.top);
}

}  // namespace

TfrmConfiguracao::TfrmConfiguracao(SettingsForm& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(form)
{
    setObjectName(QStringLiteral("frmConfiguracao"));
    setWindowTitle(QString::fromUtf8("Configurações do Sistema"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(kSettingsDialogFrame.client.width, kSettingsDialogFrame.client.height);

    BuildDatabaseGroup();
    BuildFields();
    BuildButtons();
    ApplyFieldRules();

    OpenDlg = new QFileDialog(this);
    OpenDlg->setObjectName(QStringLiteral("OpenDlg"));
    OpenDlg->setOption(QFileDialog::DontUseNativeDialog);
    OpenDlg->setFileMode(QFileDialog::ExistingFile);
    OpenDlg->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDlg->setNameFilters({QStringLiteral("Banco de Dados InterBase (*.gdb)"),
                             QStringLiteral("Banco de Dados FireBird (*.fdb)")});
    OpenDlg->selectNameFilter(OpenDlg->nameFilters().first());

}

void TfrmConfiguracao::BuildDatabaseGroup()
{
    const SettingsDialogFrame& frame = kSettingsDialogFrame;
    GroupBox1 = new QGroupBox(QString::fromUtf8(" Configurações do Banco de Dados: "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(Geometry(frame.databaseGroup));

    btnCaminho = new QToolButton(GroupBox1);
    btnCaminho->setObjectName(QStringLiteral("btnCaminho"));
    btnCaminho->setText(QStringLiteral("..."));
    btnCaminho->setGeometry(Geometry(frame.pickDatabase));
    btnCaminho->setFocusPolicy(Qt::NoFocus);
    connect(btnCaminho, &QToolButton::clicked, this, &TfrmConfiguracao::btnCaminhoClick);

    btnTestar = new QToolButton(GroupBox1);
    btnTestar->setObjectName(QStringLiteral("btnTestar"));
    btnTestar->setText(QStringLiteral("Testar"));
    btnTestar->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    btnTestar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnTestar->setAutoRaise(true);
    btnTestar->setGeometry(Geometry(frame.test));
    btnTestar->setFocusPolicy(Qt::NoFocus);
    connect(btnTestar, &QToolButton::clicked, this, &TfrmConfiguracao::btnTestarClick);
}

void TfrmConfiguracao::BuildFields()
{
    for (const SettingsFormField& field : kSettingsFormFields)
        MakeField(field.place.box == FieldBox::DatabaseGroup ? static_cast<QWidget*>(GroupBox1) : this, field);
    edtservidor = Field("edtservidor");
    edtcaminho = Field("edtcaminho");
    edtusuario = Field("edtusuario");
    edtsenha = Field("edtsenha");
    edtcaminhoenvio = Field("edtcaminhoenvio");
    edtcaminhoretorno = Field("edtcaminhoretorno");
    edtempoverificacao = Field("edtempoverificacao");
    edtcaminholog = Field("edtcaminholog");
}

void TfrmConfiguracao::BuildButtons()
{
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(Geometry(kSettingsDialogFrame.bevel));

    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPixelSize(16);
    BtnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(Geometry(kSettingsDialogFrame.ok));
    BtnOK->setFont(buttonFont);
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);

    BtnCancelar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("Cancelar"), this);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setGeometry(Geometry(kSettingsDialogFrame.cancel));
    BtnCancelar->setFont(buttonFont);
    BtnCancelar->setAutoDefault(false);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmConfiguracao::ApplyFieldRules()
{
    QWidget* previous = nullptr;  // the tab order is the table's
    for (const SettingsFormField& field : kSettingsFormFields) {
        QLineEdit* edit = Field(field);
        if (previous) setTabOrder(previous, edit);
        previous = edit;
        if (field.input == FieldInput::Digits) {
            edit->installEventFilter(this);
            edit->setValidator(new DigitsOnlyValidator(edit));
        } else if (ShownInUpperCase(field)) {
            edit->setValidator(new UpperCaseValidator(edit));
        }
    }
    setTabOrder(previous, BtnOK);
    setTabOrder(BtnOK, BtnCancelar);
}

QLineEdit* TfrmConfiguracao::Field(const char* widget) const
{
    auto* edit = findChild<QLineEdit*>(QString::fromLatin1(widget));
    Q_ASSERT(edit);
    return edit;
}

QLineEdit* TfrmConfiguracao::Field(const SettingsFormField& field) const
{
    return Field(field.widget);
}

std::string TfrmConfiguracao::Text(const SettingsFormField& field) const
{
    const QString text = Field(field)->text();
    return ToLocal(ShownInUpperCase(field) ? text.toUpper() : text);
}

void TfrmConfiguracao::SetText(const SettingsFormField& field, const std::string& text)
{
    const QString shown = FromLocal(text);
    Field(field)->setText(ShownInUpperCase(field) ? shown.toUpper() : shown);
}

void TfrmConfiguracao::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || shown_) return;
    shown_ = true;
    FormShow();
}

void TfrmConfiguracao::FormShow() { form_.Show(*this); }
void TfrmConfiguracao::btnTestarClick() { form_.Test(*this); }

void TfrmConfiguracao::accept()
{
    form_.Accept(*this);
    QDialog::accept();
}

void TfrmConfiguracao::btnCaminhoClick()
{
    RunHandler(form_.Services().messages, [this] {
        if (OpenDlg->exec() != QDialog::Accepted) return;
        const QStringList chosen = OpenDlg->selectedFiles();
        if (chosen.isEmpty() || chosen.first().isEmpty()) return;
        edtcaminho->setText(QDir::toNativeSeparators(chosen.first()));
    });
}

bool TfrmConfiguracao::edtempoverificacaoKeyPress(const QString& typed)
{
    // A key that types nothing (arrows, Home, ...) is no character to judge.
    return typed.isEmpty() || IntervalKeyAccepted(typed.front().unicode());
}

bool TfrmConfiguracao::eventFilter(QObject* watched, QEvent* event)
{
    // Control characters are keys, not text: Tab and Shift+Tab move on, Escape
    // cancels, Enter confirms, Backspace and Ctrl+V edit.
    const auto* edit = qobject_cast<const QLineEdit*>(watched);
    if (event->type() == QEvent::KeyPress && edit && dynamic_cast<const DigitsOnlyValidator*>(edit->validator())) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!edtempoverificacaoKeyPress(key->text())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ShowConfigurationDialog(SettingsFormServices& services)
{
    SettingsForm form(services, ToLocal(QDir::homePath()) + "/");
    {
        auto frmConfiguracao = std::make_unique<TfrmConfiguracao>(form);
        frmConfiguracao->exec();
    }
    return form.Close();
}

}  // namespace ligamor
