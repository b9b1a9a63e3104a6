#include "ConvertLib.PlainTextWriter.h"

#include <QIODevice>

namespace Lockwyn {

namespace {

const QString PathSeparator = QStringLiteral(" / ");

QString FormatDate(const QDateTime& value)
{
    return value.isValid() ? value.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                           : QString();
}

int CaptionWidth(const TTokenRecord& token)
{
    int width = int(QStringLiteral("User name").size());
    for (const auto& property : token.CustomProperties)
        width = std::max(width, int(property.GetName().size()));
    return width + 2;
}

} // namespace

TPlainTextWriter::TPlainTextWriter(QIODevice& device) : FOut(&device)
{
    FOut.setEncoding(QStringConverter::Utf8);
}

void TPlainTextWriter::StartGroup(const TGroupRecord& group)
{
    FPath.append(FPath.isEmpty() && group.Title.isEmpty() ? QStringLiteral("Root") : group.Title);
    const QString path = FPath.join(PathSeparator);
    FOut << path << '\n' << QString(path.size(), u'=') << '\n';
    if (group.Expires)
        FOut << "Group expires: " << FormatDate(group.ExpirationDate) << '\n';
    if (!group.Template.isEmpty())
        FOut << "Custom property template: " << group.Template.join(QStringLiteral(", ")) << '\n';
    FOut << '\n';
}

void TPlainTextWriter::EndGroup()
{
    FPath.removeLast();
}

bool TPlainTextWriter::Finish()
{
    FOut.flush();
    return FOut.status() == QTextStream::Ok;
}

void TPlainTextWriter::AddToken(const TTokenRecord& token)
{
    FCaptionWidth = CaptionWidth(token);
    WriteField(QStringLiteral("Title"), token.Title);
    WriteField(QStringLiteral("User name"), token.UserName);
    WriteField(QStringLiteral("Password"), token.Password);
    WriteField(QStringLiteral("URL"), token.URL);
    WriteField(QStringLiteral("Notes"), token.Notes);
    for (const auto& property : token.CustomProperties)
        WriteField(property.GetName(), property.GetValue());
    WriteField(QStringLiteral("Expires"),
               token.Expires ? FormatDate(token.ExpirationDate) : QStringLiteral("never"));
    WriteField(QStringLiteral("Created"), FormatDate(token.CreationDate));
    WriteField(QStringLiteral("Modified"), FormatDate(token.ModificationDate));
    FOut << '\n';
}

// Continuation lines of a multi-line value are indented under the first.
void TPlainTextWriter::WriteField(const QString& caption, const QString& value)
{
    const QString indent(FCaptionWidth, u' ');
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList lines = text.split(u'\n');
    const QString label = caption + u':';
    if (lines.first().isEmpty())
        FOut << label << '\n';
    else
        FOut << label.leftJustified(FCaptionWidth) << lines.first() << '\n';
    for (qsizetype i = 1; i < lines.size(); ++i)
        FOut << (lines.at(i).isEmpty() ? QString() : indent + lines.at(i)) << '\n';
}

} // namespace Lockwyn
