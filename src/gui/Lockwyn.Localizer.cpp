#include "Lockwyn.Localizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

#include "Lockwyn.LocalizedStrings.h"

namespace {

const QString TranslationFolder = QStringLiteral(":/translations");
const QString TranslationPrefix = QStringLiteral("lockwyn_");
const QString TranslationSuffix = QStringLiteral(".qm");

//: The name of the language of this translation, written in that language.
const char* const LanguageNameSource = QT_TRANSLATE_NOOP("TLocalizer", "English");

QString TranslationFile(const QString& name)
{
    return TranslationFolder + u'/' + TranslationPrefix + name + TranslationSuffix;
}

TLanguage LanguageOfTranslation(const QString& fileName)
{
    const QString name =
        fileName.mid(TranslationPrefix.size(),
                     fileName.size() - TranslationPrefix.size() - TranslationSuffix.size());
    QTranslator translator;
    QString displayName;
    if (translator.load(TranslationFile(name)))
        displayName = translator.translate("TLocalizer", LanguageNameSource);
    if (displayName.isEmpty())
        displayName = QLocale(name).nativeLanguageName();
    return {name, displayName};
}

std::unique_ptr<QTranslator> LoadTranslator(const QString& fileName, const QString& folder = {})
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(fileName, folder))
        return nullptr;
    return translator;
}

void Replace(std::unique_ptr<QTranslator>& installed, std::unique_ptr<QTranslator> next)
{
    if (installed)
        QCoreApplication::removeTranslator(installed.get());
    installed = std::move(next);
    if (installed)
        QCoreApplication::installTranslator(installed.get());
}

} // namespace

TLocalizer::TLocalizer() = default;

TLocalizer::~TLocalizer() = default;

QList<TLanguage> TLocalizer::GetLanguages() const
{
    QList<TLanguage> languages{{DefaultLanguage, QString::fromUtf8(LanguageNameSource)}};
    const QStringList files =
        QDir(TranslationFolder)
            .entryList({TranslationPrefix + u'*' + TranslationSuffix}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        languages.append(LanguageOfTranslation(file));
    return languages;
}

void TLocalizer::SetLanguage(const QString& name)
{
    const QList<TLanguage> languages = GetLanguages();
    const bool known =
        std::any_of(languages.cbegin(), languages.cend(),
                    [&](const TLanguage& language) { return language.Name == name; });
    const QString language = known ? name : DefaultLanguage;
    if (language != FLanguage) {
        // Each installed or removed translator makes Qt post QEvent::LanguageChange
        // to every top-level widget, which passes it on to its children.
        if (language == DefaultLanguage) {
            Install(nullptr, nullptr);
        } else {
            Install(LoadTranslator(TranslationFile(language)),
                    LoadTranslator(QStringLiteral("qtbase_") + language,
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        }
        FLanguage = language;
    }
    RetranslateLocalizedStrings();
}

void TLocalizer::Install(std::unique_ptr<QTranslator> translator,
                         std::unique_ptr<QTranslator> qtTranslator)
{
    Replace(FQtTranslator, std::move(qtTranslator));
    Replace(FTranslator, std::move(translator));
}

TLocalizer& Localizer()
{
    static TLocalizer localizer;
    return localizer;
}
