#include "sheet_settings.h"

#include "messages.h"
#include "settings_list.h"
#include "registry.h"

#include <QStringList>

namespace {

const QString kListName = QStringLiteral("OwnFormat");
const QString kCutMarksName = QStringLiteral("CutMarks");
const QString kRecentName = QStringLiteral("RecentFormat");
const QString kFormatName = QStringLiteral("Format");
const QString kPrintOnName = QStringLiteral("PrintOn");
const QString kNameField = QStringLiteral(";name=");
// More entries than any list a person keeps.
constexpr int kMaxOwnFormats = 200;

QString RangeText(const TRange& r)
{
    return QStringLiteral("%1-%2").arg(QString::number(r.Min, 'g', 6), QString::number(r.Max, 'g', 6));
}

std::optional<TRange> RangeFromText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    bool okMin = false;
    bool okMax = false;
    if (parts.size() != 2)
        return std::nullopt;
    const TRange r{parts[0].trimmed().toDouble(&okMin), parts[1].trimmed().toDouble(&okMax)};
    if (!okMin || !okMax)
        return std::nullopt;
    return r;
}

ESheetFormat NotUnderstood(const QString& text)
{
    return ESheetFormat(MessageText(Msg::kSizeNotUnderstood).arg(text));
}

ESheetFormat NotSaved()
{
    return ESheetFormat(SheetSettingsNotSavedText());
}

}  // namespace

QString SheetSettingsNotSavedText()
{
    return MessageText(Msg::kSheetOptionsNotSaved)
        .arg(TRegistry::KeyFile(TRootKey::CurrentUser, QString::fromUtf8(kSheetSettingsKey)));
}

QString OwnFormatToText(const TOwnFormat& format)
{
    QString text = QStringLiteral("%1x%2").arg(format.WidthMm).arg(format.HeightMm);
    if (format.HeadMm)
        text += QStringLiteral(";head=") + RangeText(*format.HeadMm);
    if (format.EyeLineMm)
        text += QStringLiteral(";eye=") + RangeText(*format.EyeLineMm);
    if (!format.Name.isEmpty())
        text += kNameField + format.Name;
    return text;
}

TOwnFormat OwnFormatFromText(const QString& text)
{
    // The name comes last and takes the rest of the line, semicolons and all.
    const qsizetype named = text.indexOf(kNameField);
    const QStringList parts = text.left(named).split(QLatin1Char(';'));
    TOwnFormat format = ParseSizeMm(parts.front());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        std::optional<TRange>* target = part.startsWith(QStringLiteral("head=")) ? &format.HeadMm
                                        : part.startsWith(QStringLiteral("eye=")) ? &format.EyeLineMm
                                                                                   : nullptr;
        if (!target || *target)
            throw NotUnderstood(text);
        *target = RangeFromText(part.mid(part.indexOf(QLatin1Char('=')) + 1));
        if (!*target)
            throw NotUnderstood(text);
    }
    if (named >= 0)
        format.Name = text.mid(named + kNameField.size());
    CheckOwnFormat(format);
    return format;
}

std::vector<TOwnFormat> LoadOwnFormats()
{
    std::vector<TOwnFormat> formats;
    for (const QString& line : ReadSettingsList(QString::fromUtf8(kSheetSettingsKey), kListName, kMaxOwnFormats)) {
        try {
            formats.push_back(OwnFormatFromText(line));
        } catch (const ESheetFormat&) {
            // A line edited by hand into something unusable is skipped.
        }
    }
    return formats;
}

void SaveOwnFormats(const std::vector<TOwnFormat>& formats)
{
    QStringList lines;
    for (const TOwnFormat& f : formats) {
        CheckOwnFormat(f);
        lines.append(OwnFormatToText(f));
    }
    if (!WriteSettingsList(QString::fromUtf8(kSheetSettingsKey), kListName, lines, kMaxOwnFormats))
        throw NotSaved();
}

QStringList LoadRecentFormats()
{
    return ReadSettingsList(QString::fromUtf8(kSheetSettingsKey), kRecentName, kRecentFormats);
}

bool RememberRecentFormat(const QString& Key)
{
    QStringList keys = LoadRecentFormats();
    keys.removeAll(Key);
    keys.prepend(Key);
    while (keys.size() > kRecentFormats)
        keys.removeLast();
    return WriteSettingsList(QString::fromUtf8(kSheetSettingsKey), kRecentName, keys, kRecentFormats);
}

bool LoadCutMarks()
{
    TRegistry reg;
    return reg.OpenKeyReadOnly(QString::fromUtf8(kSheetSettingsKey)) && reg.ReadInteger(kCutMarksName).value_or(0) != 0;
}

void SaveCutMarks(bool on)
{
    TRegistry reg;
    if (!reg.OpenKey(QString::fromUtf8(kSheetSettingsKey), true) || !reg.WriteInteger(kCutMarksName, on ? 1 : 0))
        throw NotSaved();
}

std::optional<QSizeF> LoadChosenFormatSize()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(QString::fromUtf8(kSheetSettingsKey)))
        return std::nullopt;
    const QStringList sides = reg.ReadString(kFormatName).value_or(QString()).split(u'x');
    bool wide = false;
    bool high = false;
    const QSizeF size = sides.size() == 2 ? QSizeF(sides[0].toDouble(&wide), sides[1].toDouble(&high)) : QSizeF();
    if (!wide || !high)
        return std::nullopt;
    return size;
}

void SaveChosenFormatSize(double WidthMm, double HeightMm)
{
    TRegistry reg;
    if (reg.OpenKey(QString::fromUtf8(kSheetSettingsKey), true))
        // In the C locale's numbers: an inch size keeps its fraction (50.8).
        reg.WriteString(kFormatName, QStringLiteral("%1x%2").arg(QString::number(WidthMm), QString::number(HeightMm)));
}

QString LoadPrintOn()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(QString::fromUtf8(kSheetSettingsKey)))
        return {};
    return reg.ReadString(kPrintOnName).value_or(QString());
}

void SavePrintOn(const QString& PrinterName)
{
    TRegistry reg;
    if (reg.OpenKey(QString::fromUtf8(kSheetSettingsKey), true))
        reg.WriteString(kPrintOnName, PrinterName);
}
