#include "Lockwyn.CrashReport.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>

#include <cstdio>
#include <exception>
#include <typeinfo>

#include "Lockwyn.LocalizedStrings.h"
#include "Platform.Display.h"

TfCrashReport::TfCrashReport(const QString& message, QWidget* parent)
    : QDialog(parent), FMessage(message)
{
    setObjectName(QStringLiteral("fCrashReport"));

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    FHeadline = new QLabel(this);
    FHeadline->setObjectName(QStringLiteral("lblHeadline"));
    FHeadline->setWordWrap(true);

    auto* details = new QPlainTextEdit(ReportText(message), this);
    details->setObjectName(QStringLiteral("memReport"));
    details->setReadOnly(true);
    details->setMinimumSize(460, 120);

    auto* buttons = new QDialogButtonBox(this);
    FCopyButton = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    FCopyButton->setObjectName(QStringLiteral("btnCopyReport"));
    FCloseButton = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    FCloseButton->setObjectName(QStringLiteral("btnClose"));
    FCloseButton->setDefault(true);
    connect(FCopyButton, &QPushButton::clicked, this, &TfCrashReport::CopyReport);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(FHeadline);
    text->addWidget(details);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    LocalizerUpdate();
}

QString TfCrashReport::ReportText(const QString& message)
{
    return QStringLiteral("Lockwyn %1\n%2\n%3, Qt %4\n\n%5\n")
        .arg(QStringLiteral(LOCKWYN_VERSION), QDateTime::currentDateTime().toString(Qt::ISODate),
             QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()), message);
}

void TfCrashReport::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

void TfCrashReport::LocalizerUpdate()
{
    setWindowTitle(LocalizedStrings().FAppName);
    FHeadline->setText(QStringLiteral("<b>%1</b><br>%2")
                           .arg(tr("Lockwyn has met an error it cannot handle.").toHtmlEscaped(),
                                FMessage.toHtmlEscaped()));
    FCopyButton->setText(tr("&Copy Report"));
    FCloseButton->setText(tr("&Close"));
}

void TfCrashReport::CopyReport()
{
    QGuiApplication::clipboard()->setText(ReportText(FMessage));
}

void TCrashReport::Show(const QString& message)
{
    std::fprintf(stderr, "Lockwyn: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    if (!Platform::HasVisibleDisplay())
        return;
    if (auto* app = QCoreApplication::instance()) {
        // Windows belong to the GUI thread of a GUI application; elsewhere
        // standard error is the report.
        if (qobject_cast<QApplication*>(app) && QThread::currentThread() == app->thread())
            TfCrashReport(message).exec();
        return;
    }
    static int argc = 1;
    static char name[] = "lockwyn";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TfCrashReport(message).exec();
}

namespace {

QString CurrentExceptionMessage()
{
    try {
        if (auto current = std::current_exception())
            std::rethrow_exception(current);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
    return QStringLiteral("The program was ended abnormally");
}

} // namespace

void TCrashReport::InstallTerminateHandler()
{
    std::set_terminate([] {
        static bool reporting = false;
        if (!reporting) {
            reporting = true;
            Show(CurrentExceptionMessage());
        }
        std::abort();
    });
}
