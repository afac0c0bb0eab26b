// The Qt side of the message and timer seams, and the text boundary.
#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "qt_test_app.h"
#include "runtime/messages.h"
#include "runtime/text1252.h"
#include "ui/qt_messages.h"
#include "ui/qt_timer.h"
#include "ui/text_codec.h"

namespace ligamor::test {
namespace {

struct SeenBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Shows one box through the seam and notes what it looked like before OK.
SeenBox Show(const std::function<void(QtMessages&)>& show)
{
    TestApp();
    SeenBox seen;
    OnNextModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        box->buttons().front()->click();
    });
    QtMessages messages;
    show(messages);
    return seen;
}

TEST(QtMessagesTest, BoxesShowCaptionIconOneOkAndTheDecodedText)
{
    SeenBox info = Show([](QtMessages& m) { m.InformationBox(Cp1252("Aplicação Não Configurada.")); });
    EXPECT_EQ(info.caption, QString::fromUtf8("Informação"));
    EXPECT_EQ(info.icon, QMessageBox::Information);
    EXPECT_EQ(info.buttons, QStringList{"OK"});
    EXPECT_EQ(info.text, QString::fromUtf8("Aplicação Não Configurada."));

    SeenBox error = Show([](QtMessages& m) { m.ErrorBox(Cp1252("Erro de Conexão.")); });
    EXPECT_EQ(error.caption, "Erro");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringList{"OK"});
    EXPECT_EQ(error.text, QString::fromUtf8("Erro de Conexão."));

    SeenBox plain = Show([](QtMessages& m) { m.PlainMessage(Cp1252("Coneão realizada com sucesso.")); });
    EXPECT_EQ(plain.caption, "ligamor");
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, QStringList{"OK"});
    EXPECT_EQ(plain.text, QString::fromUtf8("Coneão realizada com sucesso."));

    SeenBox report = Show([](QtMessages& m) { m.ErrorReport(ErrorReportText("File not found")); });
    EXPECT_EQ(report.caption, "ligamor");
    EXPECT_EQ(report.icon, QMessageBox::Critical);
    EXPECT_EQ(report.buttons, QStringList{"OK"});
    EXPECT_EQ(report.text, "File not found.");
}

TEST(QtMessagesTest, ErrorReportAddsAPointOnlyAfterACharacterSortingAfterIt)
{
    EXPECT_EQ(ErrorReportText("I/O error 13"), "I/O error 13.");
    EXPECT_EQ(ErrorReportText("Erro de Conexão."), "Erro de Conexão.");
    EXPECT_EQ(ErrorReportText("Cannot open file \"x\" (busy)"), "Cannot open file \"x\" (busy)");
    EXPECT_EQ(ErrorReportText("ends with a blank "), "ends with a blank ");
    EXPECT_EQ(ErrorReportText(Cp1252("criar o diretório \"/x/Ç")), Cp1252("criar o diretório \"/x/Ç."));
}

TEST(QtTimerTest, ZeroStopsANewValueRestartsTheSameValueChangesNothing)
{
    TestApp();
    QtTimer timer;
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(60000);
    EXPECT_TRUE(timer.Running());
    const int firstId = timer.Ticks().timerId();
    timer.SetInterval(60000);
    EXPECT_EQ(timer.Ticks().timerId(), firstId);
    timer.SetInterval(30000);
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.Ticks().interval(), 30000);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(timer.Interval(), 0);
    timer.SetInterval(-5);
    EXPECT_FALSE(timer.Running());
}

TEST(TextCodecTest, WindowsBytesAndLocaleTextsCrossTheBoundaryUnchanged)
{
    const std::string bytes = Cp1252("INSERÇÃO - CLIENTE - € ação");
    EXPECT_EQ(FromCp1252(bytes), QString::fromUtf8("INSERÇÃO - CLIENTE - € ação"));
    EXPECT_EQ(ToLocal(QString::fromUtf8("/srv/Lojá/")), "/srv/Lojá/");
    EXPECT_EQ(FromLocal("/srv/Lojá/"), QString::fromUtf8("/srv/Lojá/"));
}

}  // namespace
}  // namespace ligamor::test
