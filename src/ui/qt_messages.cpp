#include "ui/qt_messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include "ui/text_codec.h"

namespace ligamor {

namespace {

void ShowBox(QMessageBox::Icon icon, const QString& caption, const std::string& text)
{
    QMessageBox box(icon, caption, FromCp1252(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

// The program sets no title of its own: Qt derives the application name from
// the executable's file name.
QString ApplicationTitle()
{
    return QCoreApplication::applicationName();
}

}  // namespace

void QtMessages::InformationBox(const std::string& text)
{
    ShowBox(QMessageBox::Information, QString::fromUtf8("Informação"), text);
}

void QtMessages::ErrorBox(const std::string& text)
{
    ShowBox(QMessageBox::Critical, QStringLiteral("Erro"), text);
}

void QtMessages::PlainMessage(const std::string& text)
{
    ShowBox(QMessageBox::NoIcon, ApplicationTitle(), text);
}

void QtMessages::ErrorReport(const std::string& text)
{
    ShowBox(QMessageBox::Critical, ApplicationTitle(), text);
}

}  // namespace ligamor
