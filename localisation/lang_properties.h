#pragma once

#include "code_pages.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QMetaObject;
class QObject;

/// A component's font as language files see it: the name and size that Qt
/// gets, and the Windows character set that the program keeps beside them.
struct TFontRecord {
    QString Name;
    int Size = 0;   ///< points
    int Charset = Charset::Default;

    bool operator==(const TFontRecord&) const = default;
};

/// A property reached through the accessor table of a component's class.
template <class T>
struct TPropertyAccessor {
    std::function<T(const QObject*)> Get;
    std::function<void(QObject*, const T&)> Set;

    explicit operator bool() const { return static_cast<bool>(Get); }
};

/// A string-list property ("Items", "Lines"): Get answers nothing when the
/// list object is not present; Set receives the complete new list.
struct TListAccessor {
    std::function<std::optional<QStringList>(const QObject*)> Get;
    std::function<void(QObject*, const QStringList&)> Set;

    explicit operator bool() const { return static_cast<bool>(Get); }
};

/// The translatable properties one class publishes, by their published
/// names: a class publishes a property when its accessor is set.
///   Caption   a button's or label's text, a group box's or window's title,
///             a menu's or action's text
///   Text      an edit's text, a combo box's current text
///   Hint      the tool tip (a menu's or action's status tip)
///   ShowHint  whether the tool tip is shown (see SetShowHint)
///   Items     a combo or list box's entries, a text storage's lines
///   Lines     a multi-line edit's lines
///   ItemIndex the selected entry, -1 for none
///   Font      name, size and character set
///   alignment 0 left, 1 right, 2 centred
///   Layout    a label's 0 top, 1 centre, 2 bottom; a button's glyph 0 left, 1 right
struct TPublishedProperties {
    TPropertyAccessor<QString> Caption;
    TPropertyAccessor<QString> Text;
    TPropertyAccessor<QString> Hint;
    TPropertyAccessor<bool> ShowHint;
    TListAccessor Items;
    TListAccessor Lines;
    TPropertyAccessor<int> ItemIndex;
    TPropertyAccessor<TFontRecord> Font;
    TPropertyAccessor<int> Alignment;
    TPropertyAccessor<int> Layout;
};

/// The ten published names, looked up without regard to case.
enum class TPropertyName { Caption, Text, Hint, ShowHint, Items, Lines, ItemIndex, Font, Alignment, Layout };
std::optional<TPropertyName> PropertyByName(const QString& name);

/// The accessors of the most derived registered class of `component`, or
/// nullptr when no class of it is registered (it publishes nothing).
/// Built in: QWidget, QAbstractButton, QPushButton, QLabel, QGroupBox, QMenu,
/// QMenuBar, QAction, QComboBox, QListWidget, QLineEdit, QPlainTextEdit,
/// QTextEdit, QAbstractSlider, QStatusBar and TTextStorage.
const TPublishedProperties* PublishedProperties(const QObject* component);
/// True when `component` publishes the property of that (case-insensitive) name.
bool PublishesProperty(const QObject* component, const QString& name);

/// Adds or replaces the accessors of a class (a QObject class with Q_OBJECT);
/// components of it and of its subclasses without an entry of their own use them.
void RegisterPublishedProperties(const QMetaObject& cls, TPublishedProperties properties);

// ShowHint has no Qt twin. It is kept as the dynamic property "ShowHint"
// (settable in a form description; absent means true). While it is false the
// hint is parked in the dynamic property kHiddenHintProperty and the tool tip
// is empty, so Qt shows nothing.
inline constexpr char kShowHintProperty[] = "ShowHint";
inline constexpr char kHiddenHintProperty[] = "qrlHiddenHint";
bool ShowHint(const QObject* widget);
void SetShowHint(QObject* widget, bool value);
/// The hint, whether it is shown or parked.
QString Hint(const QObject* widget);
void SetHint(QObject* widget, const QString& value);
/// Parks the hints of every widget under `root` (itself included) whose
/// "ShowHint" property a form description set to false.
void ApplyShowHintProperties(QObject* root);

// The character set of a font is the dynamic property kCharsetProperty of its
// widget; a widget without one has its parent's (as its font follows the
// parent's), and the default character set at the top.
inline constexpr char kCharsetProperty[] = "qrlCharset";
int FontCharset(const QObject* widget);
void SetFontCharset(QObject* widget, int charset);

/// The screen's hint, icon and menu fonts: the process-wide font records that
/// a language switch gives the file's character set.
struct TScreenFonts {
    TFontRecord HintFont;
    TFontRecord IconFont;
    TFontRecord MenuFont;
};
TScreenFonts& ScreenFonts();
