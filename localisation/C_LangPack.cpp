#include "C_LangPack.h"

#include "messages.h"
#include "C_TextStorage.h"
#include "code_pages.h"
#include "lang_components.h"
#include "lang_format.h"
#include "lang_properties.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

using namespace LangFile;

bool isBlank(const QString& s)
{
    for (const QChar c : s)
        if (c > u' ')
            return false;
    return true;
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

/// The texts of one component's entry, all read before the file is written,
/// so that a failure leaves no partial entry. None for a component without
/// text.
std::optional<TLangEntry> entryOf(const QString& path, QObject* component)
{
    const TPublishedProperties* p = PublishedProperties(component);
    if (!p)
        return std::nullopt;
    QString text;
    if (p->Caption)
        text = p->Caption.Get(component);
    if (isBlank(text) && p->Text)
        text = p->Text.Get(component);
    const QString hint = p->Hint ? p->Hint.Get(component) : QString();
    std::optional<QStringList> lines = p->Items ? p->Items.Get(component) : std::nullopt;
    if (!lines || lines->isEmpty())
        lines = p->Lines ? p->Lines.Get(component) : std::nullopt;

    TLangEntry entry;
    entry.Path = path;
    if (!isBlank(text))
        entry.Caption = {textCaption, text};
    if (!isBlank(hint)) {
        const bool shown = p->ShowHint ? p->ShowHint.Get(component) : true;
        entry.Hint = {textHint | (shown ? hintShownBit : 0), hint};
    }
    if (lines && !lines->isEmpty())
        entry.Lines = {textLines, TStringList(*lines).Text()};
    if (!entry.Caption.Present() && !entry.Hint.Present() && !entry.Lines.Present())
        return std::nullopt;
    return entry;
}

}  // namespace

void ReportToStderr(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

TLanguageRecord::TLanguageRecord(std::uint16_t revisionToWrite, QObject* root, const TStringList* excluded)
    : Root(root), RevisionToWrite(revisionToWrite), ExcludedComps(excluded)
{
}

bool TLanguageRecord::ApplyFile(const QString& fileName)
{
    TLangFileContents file;
    try {
        file = ReadLanguageFile(fileName);
    } catch (const ELanguageFileDamaged&) {
        return false;
    } catch (const ELanguageFormat&) {
        // Items 0 to 5 are those of every revision: they are taken before
        // the file is turned away.
        const std::optional<TLangFileContents> header = ReadLanguageFileHeader(fileName);
        if (!header)
            return false;
        takeHeader(*header);
        throw ELanguageFormat(QString::fromUtf8(Msg::kFormatRevision));
    }
    takeHeader(file);
    if (Revision == 0) {
        CharSet = Charset::Default;
        applyRevision0(file.Entries);
        return true;
    }
    takeSettings(file);
    TStringList components;
    CollectComponents(QString(), components, ExcludedComps, Root);
    applyFonts(components);
    applyEntries(file.Entries, components);
    TScreenFonts& screen = ScreenFonts();
    screen.HintFont.Charset = CharSet;
    screen.IconFont.Charset = CharSet;
    screen.MenuFont.Charset = CharSet;
    return true;
}

void TLanguageRecord::takeHeader(const TLangFileContents& file)
{
    LangId = file.LangId;
    Revision = static_cast<std::uint16_t>(file.Revision);
    HeaderText1 = file.HeaderText1;
    HeaderText2 = file.HeaderText2;
    HeaderText3 = file.HeaderText3;
    HeaderLines = TStringList(file.HeaderLines);
    FlagBitmap = BitmapFromBmpBytes(file.Flag);
}

/// The settings items of revisions 1 to 4; those a revision lacks keep their
/// values.
void TLanguageRecord::takeSettings(const TLangFileContents& file)
{
    ProgramVersion = file.ProgramVersion;
    if (Revision >= 2) {
        SettingsFlag = file.SettingsFlag;
        SettingsText1 = file.SettingsText1;
        SettingsText2 = file.SettingsText2;
    }
    InputMethodName = file.InputMethodName;
    FontName = file.FontName;
    CharSet = static_cast<std::uint8_t>(file.Charset);
    MinFontSize = file.MinFontSize;
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

void TLanguageRecord::applyEntries(const QList<TLangEntry>& entries, const TStringList& components)
{
    for (const TLangEntry& e : entries) {
        const int index = components.IndexOf(e.Path);
        QObject* component = index >= 0 ? components.Object(index) : nullptr;
        const TPublishedProperties* p = component ? PublishedProperties(component) : nullptr;
        if (!p)
            continue;
        const int itemIndex = p->ItemIndex ? p->ItemIndex.Get(component) : -2;
        if (e.Alignment == 1 || e.Alignment == 2) {
            if (p->Alignment)
                p->Alignment.Set(component, e.Alignment == 1 ? 1 : 0);
            if (p->Layout)
                p->Layout.Set(component, e.Alignment == 1 ? 0 : 1);
        }
        if (IsApplied(e.Caption.Tag))
            setCaptionOrText(*p, component, e.Caption.Text);
        if (IsApplied(e.Hint.Tag) && p->Hint) {
            p->Hint.Set(component, e.Hint.Text);
            if (p->ShowHint)
                p->ShowHint.Set(component, (e.Hint.Tag & hintShownBit) != 0);
        }
        if (IsApplied(e.Lines.Tag)) {
            if (!(p->Items && replaceLines(p->Items, component, e.Lines.Text)) && p->Lines)
                replaceLines(p->Lines, component, e.Lines.Text);
        }
        if (itemIndex >= -1)
            p->ItemIndex.Set(component, itemIndex);
    }
}

void TLanguageRecord::applyRevision0(const QList<TLangEntry>& entries)
{
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

    for (const TLangEntry& e : entries) {
        const int index = components.IndexOf(e.Path);
        QObject* component = index >= 0 ? components.Object(index) : nullptr;
        if (!component || !legacyKindMatches(e.PathTag, component))
            continue;
        const TPublishedProperties* p = PublishedProperties(component);
        const TPublishedProperties none;
        if (!p)
            p = &none;
        if (LegacyHasCaption(e.PathTag)) {
            if (!e.Caption.Text.isEmpty())
                setCaptionOrText(*p, component, e.Caption.Text);
            if (!e.Hint.Text.isEmpty() && p->Hint)
                p->Hint.Set(component, e.Hint.Text);
        }
        if (LegacyHasLines(e.PathTag) && p->Items)
            replaceLines(p->Items, component, e.Lines.Text);
    }
}

bool TLanguageRecord::WriteOriginal(const QString& fileName)
{
    const std::optional<QString> failure = WriteLanguageFile(writtenContents(), fileName);
    WriteError = failure.value_or(QString());
    return !failure;
}

TLangFileContents TLanguageRecord::writtenContents() const
{
    TLangFileContents c;
    static_cast<TLangFileHeader&>(c) = *this;
    c.Revision = RevisionToWrite;
    c.HeaderLines = HeaderLines.ToStringList();
    c.Flag = BmpBytesOfBitmap(FlagBitmap);
    c.Charset = CharSet;
    c.Entries = writtenEntries();
    return c;
}

QList<TLangEntry> TLanguageRecord::writtenEntries() const
{
    TStringList components;
    CollectComponents(QString(), components, ExcludedComps, Root);
    QList<TLangEntry> entries;
    for (int i = 0; i < components.Count(); ++i) {
        std::optional<QString> failure;
        try {
            if (std::optional<TLangEntry> entry = entryOf(components[i], components.Object(i)))
                entries.append(*entry);
        } catch (const Exception& e) {
            failure = e.Message;
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        if (failure && OnReport)
            OnReport(QStringLiteral("Exception %1 - component No %2").arg(*failure).arg(i));
    }
    return entries;
}
