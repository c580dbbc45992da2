#include "C_LangPack.h"

#include "C_TextStorage.h"
#include "Lang_CodePages.h"
#include "Lang_Components.h"
#include "Lang_Format.h"
#include "Lang_Properties.h"
#include "Lang_Storageobj.h"
#include "file_target.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <optional>

namespace {

using namespace LangFile;

/// A flag is a small picture; anything larger is not one we show.
constexpr std::int64_t kMaxFlagPixels = std::int64_t{1} << 22;

std::uint32_t le16(const QByteArray& b, int at)
{
    return std::uint32_t{static_cast<std::uint8_t>(b[at])} |
           std::uint32_t{static_cast<std::uint8_t>(b[at + 1])} << 8;
}

std::int32_t le32(const QByteArray& b, int at)
{
    return static_cast<std::int32_t>(le16(b, at) | le16(b, at + 2) << 16);
}

/// Sizes stated by a BMP header, checked before any decoder sees them: the
/// declared picture must be flag-sized and, uncompressed, fit in the bytes.
bool plausibleBmp(const QByteArray& b)
{
    constexpr int fileHeader = 14;
    if (b.size() < fileHeader + 12 || b[0] != 'B' || b[1] != 'M')
        return false;
    const std::int32_t infoSize = le32(b, 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t bitCount = 0;
    std::int32_t compression = 0;
    if (infoSize == 12) {
        width = le16(b, 18);
        height = le16(b, 20);
        bitCount = le16(b, 24);
    } else if (infoSize >= 40 && b.size() >= fileHeader + 40) {
        width = le32(b, 18);
        height = std::abs(std::int64_t{le32(b, 22)});
        bitCount = le16(b, 28);
        compression = le32(b, 30);
    } else {
        return false;
    }
    if (width <= 0 || height <= 0 || width * height > kMaxFlagPixels)
        return false;
    const std::int64_t dataOffset = static_cast<std::uint32_t>(le32(b, 10));
    const bool uncompressed = compression == 0 || compression == 3;
    const std::int64_t rowBytes = (width * bitCount + 31) / 32 * 4;
    return !uncompressed || (dataOffset <= b.size() && rowBytes * height <= b.size() - dataOffset);
}

bool isBlank(const QString& s)
{
    for (const QChar c : s)
        if (c > u' ')
            return false;
    return true;
}

QString readText(TStorefile& storage, const TTextCodec& codec, std::int32_t* tag = nullptr)
{
    QByteArray bytes;
    const std::int32_t t = storage.ReadString(bytes, true);
    if (tag)
        *tag = t;
    return codec.Decode(bytes);
}

void skipItems(TStorefile& storage, int count)
{
    for (int i = 0; i < count && storage.Next(); ++i) {
    }
}

/// Line i of `text` replaces entry i of the list for every entry the list
/// has; extra lines are dropped, entries without a line keep their text.
/// False when the list object is not present.
bool replaceLines(const TListAccessor& list, QObject* component, const QString& text)
{
    std::optional<QStringList> entries = list.Get(component);
    if (!entries)
        return false;
    TStringList lines;
    lines.SetText(text);
    for (int i = 0; i < entries->size() && i < lines.Count(); ++i)
        (*entries)[i] = lines[i];
    list.Set(component, *entries);
    return true;
}

/// Caption where published, else Text.
void setCaptionOrText(const TPublishedProperties& p, QObject* component, const QString& text)
{
    if (p.Caption)
        p.Caption.Set(component, text);
    else if (p.Text)
        p.Text.Set(component, text);
}

void setFontCharset(QObject* component, int charset)
{
    const TPublishedProperties* p = PublishedProperties(component);
    if (!p || !p->Font)
        return;
    TFontRecord font = p->Font.Get(component);
    font.Charset = charset;
    p->Font.Set(component, font);
}

/// Revision-0 entries name their target's kind by the path tag.
bool legacyKindMatches(std::int32_t tag, const QObject* component)
{
    if (tag >= 6 && tag <= 11)
        return component->isWidgetType() && !qobject_cast<const QMenu*>(component);
    if (tag == 12)
        return qobject_cast<const TTextStorage*>(component) != nullptr;
    if (tag == 13)
        return qobject_cast<const QAction*>(component) || qobject_cast<const QMenu*>(component);
    return true;
}

/// The font name that the file's font name replaces: the main form's.
QString referenceFontName(QObject* root)
{
    QWidget* mainForm = nullptr;
    if (auto* application = qobject_cast<TApplicationForms*>(root))
        mainForm = application->MainForm();
    else
        mainForm = TApplicationForms::Application().MainForm();
    if (!mainForm)
        mainForm = qobject_cast<QWidget*>(root);
    if (!mainForm)
        return {};
    const TPublishedProperties* p = PublishedProperties(mainForm);
    return p && p->Font ? p->Font.Get(mainForm).Name : mainForm->font().family();
}

/// The texts of one component's entry, all read (and encoded) before the
/// first item is written, so that a failure leaves no partial entry.
struct TEntry {
    QByteArray Path;
    int Count = 0;
    std::int32_t TextTag = textNone;
    QByteArray Text;
    std::int32_t HintTag = textNone;
    QByteArray Hint;
    std::int32_t LinesTag = textNone;
    QByteArray Lines;
};

std::optional<TEntry> readEntry(const QString& path, QObject* component, const TTextCodec& codec)
{
    const TPublishedProperties* p = PublishedProperties(component);
    if (!p)
        return std::nullopt;
    TEntry entry;
    QString text;
    if (p->Caption)
        text = p->Caption.Get(component);
    bool hasText = !isBlank(text);
    if (!hasText && p->Text) {
        text = p->Text.Get(component);
        hasText = !isBlank(text);
    }
    const QString hint = p->Hint ? p->Hint.Get(component) : QString();
    const bool hasHint = !isBlank(hint);
    std::optional<QStringList> lines = p->Items ? p->Items.Get(component) : std::nullopt;
    if (!lines || lines->isEmpty())
        lines = p->Lines ? p->Lines.Get(component) : std::nullopt;
    const bool hasLines = lines && !lines->isEmpty();

    entry.Count = int{hasText} + int{hasHint} + int{hasLines};
    if (entry.Count == 0)
        return std::nullopt;
    entry.Path = codec.Encode(path);
    if (hasText) {
        entry.TextTag = textCaption;
        entry.Text = codec.Encode(text);
    }
    if (hasHint) {
        const bool shown = p->ShowHint ? p->ShowHint.Get(component) : true;
        entry.HintTag = textHint | (shown ? hintShownBit : 0);
        entry.Hint = codec.Encode(hint);
    }
    if (hasLines) {
        entry.LinesTag = textLines;
        entry.Lines = codec.Encode(TStringList(*lines).Text());
    }
    return entry;
}

}  // namespace

QImage BitmapFromBmpBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    const auto invalid = [] { return EInvalidGraphic(QStringLiteral("Bitmap image is not valid")); };
    if (!plausibleBmp(bytes))
        throw invalid();
    QByteArray data(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(int(kMaxFlagPixels * 4 / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull())
        throw invalid();
    return image;
}

QByteArray BmpBytesOfBitmap(const QImage& image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void ReportToStderr(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

TLanguageRecord::TLanguageRecord(std::uint16_t revisionToWrite, QObject* root, const TStringList* excluded)
    : Root(root), RevisionToWrite(revisionToWrite), ExcludedComps(excluded), MinFontSize(kWrittenMinFontSize)
{
}

bool TLanguageRecord::ApplyFile(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return false;
    TStorefile storage;
    storage.SetSignature(kSignatureBytes);
    storage.SetReadOnly(true);
    storage.SetFilename(fileName);
    storage.Open();
    // Everything that would stop the apply half-way is found before the
    // record or any component changes: damaged lengths, a truncated tail,
    // missing settings items.
    if (storage.RecordCount() < kHeaderItems || !storage.Verify())
        return false;
    std::int32_t headerValue = 0;
    storage.ReadInteger(headerValue, false);
    const THeader header = DecodeHeader(headerValue);
    const int settingsItems = SettingsItems(header.Revision);
    if (settingsItems > 0 && storage.RecordCount() < kHeaderItems + settingsItems)
        return false;
    const int fileCharset = PeekCharset(storage, header.Revision).value_or(Charset::Default);
    const TTextCodec codec(TextCodePage(fileCharset, header.LangId));

    storage.Next();
    LangId = header.LangId;
    Revision = header.Revision;
    HeaderText1 = readText(storage, codec);
    HeaderText2 = readText(storage, codec);
    HeaderText3 = readText(storage, codec);
    HeaderLines.SetText(readText(storage, codec));
    QByteArray flag;
    storage.ReadString(flag, true);
    FlagBitmap = BitmapFromBmpBytes(flag);

    if (Revision == 0) {
        applyRevision0(storage, codec);
        return true;
    }
    if (Revision > kRevision)
        throw ELanguageFormat(QStringLiteral("Format not supported in this revision"));

    auto version = static_cast<std::int32_t>(ProgramVersion);
    storage.ReadInteger(version, true);
    ProgramVersion = static_cast<std::uint32_t>(version);
    if (Revision >= 2) {
        std::int32_t settingsFlag = 0;
        storage.ReadInteger(settingsFlag, true);
        SettingsFlag = static_cast<std::uint8_t>(settingsFlag);
        SettingsText1 = readText(storage, codec);
        SettingsText2 = readText(storage, codec);
    }
    InputMethodName = readText(storage, codec);
    FontName = readText(storage, codec);
    std::int32_t charset = 0;
    storage.ReadInteger(charset, true);
    CharSet = static_cast<std::uint8_t>(charset);
    if (Revision >= 4)
        storage.ReadInteger(MinFontSize, true);
    else
        MinFontSize = kAssumedMinFontSize;

    TStringList components;
    CollectComponents(QString(), components, ExcludedComps, Root);
    applyFonts(components);
    applyEntries(storage, codec, components);
    TScreenFonts& screen = ScreenFonts();
    screen.HintFont.Charset = CharSet;
    screen.IconFont.Charset = CharSet;
    screen.MenuFont.Charset = CharSet;
    return true;
}

void TLanguageRecord::applyFonts(const TStringList& components)
{
    const QString reference = referenceFontName(Root);
    // Any minimum the file asks for is honoured, up to a size that still
    // draws in bounded time and memory.
    constexpr std::int32_t kLargestFontSize = 512;
    const std::int32_t minimum = Revision >= 4 ? std::min(MinFontSize, kLargestFontSize) : 0;
    for (int i = 0; i < components.Count(); ++i) {
        QObject* component = components.Object(i);
        const TPublishedProperties* p = PublishedProperties(component);
        if (!p || !p->Font)
            continue;
        TFontRecord font = p->Font.Get(component);
        // An empty name too: the fonts then fall back to the desktop's own.
        if (font.Name == reference)
            font.Name = FontName;
        font.Charset = CharSet;
        if (font.Size < minimum)
            font.Size = minimum;
        p->Font.Set(component, font);
    }
}

void TLanguageRecord::applyEntries(TStorefile& storage, const TTextCodec& codec, const TStringList& components)
{
    // Every pass of the loop consumes at least the path item, or meets the
    // end of the file: the loop cannot outlast the file.
    while (!storage.Eof()) {
        const int index = components.IndexOf(readText(storage, codec));
        QObject* component = index >= 0 ? components.Object(index) : nullptr;
        const TPublishedProperties* p = component ? PublishedProperties(component) : nullptr;
        if (!component) {
            skipItems(storage, EntryItemsAfterPath(Revision));
            continue;
        }
        const int itemIndex = p && p->ItemIndex ? p->ItemIndex.Get(component) : -2;
        if (Revision >= 3) {
            std::int32_t alignment = 0;
            storage.ReadInteger(alignment, true);
            if (p && (alignment == 1 || alignment == 2)) {
                if (p->Alignment)
                    p->Alignment.Set(component, alignment == 1 ? 1 : 0);
                if (p->Layout)
                    p->Layout.Set(component, alignment == 1 ? 0 : 1);
            }
        }
        std::int32_t tag = 0;
        const QString text = readText(storage, codec, &tag);
        if (p && IsApplied(tag))
            setCaptionOrText(*p, component, text);
        const QString hint = readText(storage, codec, &tag);
        if (p && IsApplied(tag) && p->Hint) {
            p->Hint.Set(component, hint);
            if (p->ShowHint)
                p->ShowHint.Set(component, (tag & hintShownBit) != 0);
        }
        const QString lines = readText(storage, codec, &tag);
        if (p && IsApplied(tag)) {
            if (!(p->Items && replaceLines(p->Items, component, lines)) && p->Lines)
                replaceLines(p->Lines, component, lines);
        }
        if (itemIndex >= -1)
            p->ItemIndex.Set(component, itemIndex);
    }
}

void TLanguageRecord::applyRevision0(TStorefile& storage, const TTextCodec& codec)
{
    CharSet = Charset::Default;
    // The oldest files know only forms and the components on them; their
    // list is built here, without the excluded components.
    TStringList components;
    for (QObject* owned : OwnedComponents(Root)) {
        setFontCharset(owned, Charset::Default);
        if (!IsForm(owned))
            continue;
        const QString formName = owned->objectName();
        components.AddObject(formName, QVariant::fromValue(owned));
        for (QObject* component : OwnedComponents(owned)) {
            setFontCharset(component, Charset::Default);
            components.AddObject(formName + u'.' + component->objectName(), QVariant::fromValue(component));
        }
    }

    while (!storage.Eof()) {
        std::int32_t tag = 0;
        const int index = components.IndexOf(readText(storage, codec, &tag));
        QObject* component = index >= 0 ? components.Object(index) : nullptr;
        if (!component || !legacyKindMatches(tag, component)) {
            skipItems(storage, LegacyItemsAfterPath(tag));
            continue;
        }
        const TPublishedProperties* p = PublishedProperties(component);
        const TPublishedProperties none;
        if (!p)
            p = &none;
        if ((tag >= 6 && tag <= 11) || tag == 13) {
            const QString text = readText(storage, codec);
            if (!text.isEmpty())
                setCaptionOrText(*p, component, text);
            const QString hint = readText(storage, codec);
            if (!hint.isEmpty() && p->Hint)
                p->Hint.Set(component, hint);
        }
        if (tag == 11 || tag == 12) {
            const QString lines = readText(storage, codec);
            if (p->Items)
                replaceLines(p->Items, component, lines);
        }
    }
}

bool TLanguageRecord::WriteOriginal(const QString& fileName)
{
    WriteError.clear();
    // The system's reason, read at once: later calls may overwrite errno.
    const auto fail = [this](int error) {
        WriteError = error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                                : QStringLiteral("the file could not be written");
        return false;
    };
    if (fileName.isEmpty())
        return fail(ENOENT);
    // The file at the end of a chain of links is the one replaced, and a
    // write-protected one is refused, as the page writers do.
    const std::optional<QString> resolved = FinalLinkTarget(fileName);
    if (!resolved)
        return fail(errno);
    if (IsWriteProtected(*resolved))
        return fail(EACCES);
    TStorefile storage;
    storage.SetSignature(kSignatureBytes);
    // Written beside the target and renamed over it when complete, so that a
    // failure never leaves a damaged file behind.
    storage.SetFilename(*resolved + QStringLiteral(".part"));
    storage.Erase();
    errno = 0;
    storage.Open();
    if (!storage.Opened())
        return fail(errno);
    const QString partName = storage.Filename();
    const QString target = partName.chopped(5);
    const TTextCodec codec(CodePageOfCharset(CharSet, LangId));
    errno = 0;
    const bool complete = writeHeader(storage, codec) && writeEntries(storage, codec);
    int error = errno;
    bool closed = storage.Close();
    if (complete && !closed)
        error = errno;
    // On the disk before it takes the name: after a crash the name holds the
    // old file or the whole new one, never an empty one.
    if (complete && closed && !SyncFileToDisk(partName)) {
        closed = false;
        error = errno;
    }
    if (complete && closed) {
        if (std::rename(QFile::encodeName(partName).constData(), QFile::encodeName(target).constData()) == 0)
            return true;
        error = errno;
    }
    QFile::remove(partName);
    return fail(error);
}

bool TLanguageRecord::writeHeader(TStorefile& storage, const TTextCodec& codec)
{
    const QByteArray flag = BmpBytesOfBitmap(FlagBitmap);
    return storage.WriteInteger(tagHeader, EncodeHeader(RevisionToWrite, LangId)) &&
           storage.WriteString(tagHeaderText1, codec.Encode(HeaderText1)) &&
           storage.WriteString(tagHeaderText2, codec.Encode(HeaderText2)) &&
           storage.WriteString(tagHeaderText3, codec.Encode(HeaderText3)) &&
           storage.WriteString(tagHeaderLines, codec.Encode(HeaderLines.Text())) &&
           storage.WriteString(tagFlagBitmap, flag) &&
           storage.WriteInteger(tagProgramVersion, static_cast<std::int32_t>(ProgramVersion)) &&
           storage.WriteInteger(tagSettingsFlag, SettingsFlag) &&
           storage.WriteString(tagSettingsText1, codec.Encode(SettingsText1)) &&
           storage.WriteString(tagSettingsText2, codec.Encode(SettingsText2)) &&
           storage.WriteString(tagInputMethodName, codec.Encode(InputMethodName)) &&
           storage.WriteString(tagFontName, codec.Encode(FontName)) &&
           storage.WriteInteger(tagCharset, CharSet) &&
           storage.WriteInteger(tagMinFontSize, MinFontSize);
}

bool TLanguageRecord::writeEntries(TStorefile& storage, const TTextCodec& codec)
{
    TStringList components;
    CollectComponents(QString(), components, ExcludedComps, Root);
    for (int i = 0; i < components.Count(); ++i) {
        std::optional<TEntry> entry;
        std::optional<QString> failure;
        try {
            entry = readEntry(components[i], components.Object(i), codec);
        } catch (const Exception& e) {
            failure = e.Message;
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        if (failure) {
            if (OnReport)
                OnReport(QStringLiteral("Exception %1 - component No %2").arg(*failure).arg(i));
            continue;
        }
        if (!entry)
            continue;
        const bool written = storage.WriteString(tagPathBase + entry->Count, entry->Path) &&
                             storage.WriteInteger(tagAlignment, 0) &&
                             storage.WriteString(entry->TextTag, entry->Text) &&
                             storage.WriteString(entry->HintTag, entry->Hint) &&
                             storage.WriteString(entry->LinesTag, entry->Lines);
        if (!written)
            return false;
    }
    return true;
}
