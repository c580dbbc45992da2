#include "lang_properties.h"

#include "C_TextStorage.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QWidget>

#include <map>

namespace {

template <class W>
W* as(QObject* o)
{
    return qobject_cast<W*>(o);
}
template <class W>
const W* as(const QObject* o)
{
    return qobject_cast<const W*>(o);
}

/// A string property of widget class W from a getter and a setter.
template <class W>
TPropertyAccessor<QString> stringProperty(QString (W::*get)() const, void (W::*set)(const QString&))
{
    return {[get](const QObject* o) { return (as<W>(o)->*get)(); },
            [set](QObject* o, const QString& v) { (as<W>(o)->*set)(v); }};
}

TPropertyAccessor<QString> hintProperty()
{
    return {[](const QObject* o) { return Hint(o); }, [](QObject* o, const QString& v) { SetHint(o, v); }};
}

TPropertyAccessor<bool> showHintProperty()
{
    return {[](const QObject* o) { return ShowHint(o); }, [](QObject* o, const bool& v) { SetShowHint(o, v); }};
}

TPropertyAccessor<TFontRecord> fontProperty()
{
    return {[](const QObject* o) {
                const QFont font = as<QWidget>(o)->font();
                const int size = font.pointSize() > 0 ? font.pointSize() : (font.pixelSize() * 72 + 48) / 96;
                return TFontRecord{font.family(), size, FontCharset(o)};
            },
            [](QObject* o, const TFontRecord& v) {
                auto* w = as<QWidget>(o);
                QFont font = w->font();
                font.setFamily(v.Name);
                if (v.Size > 0)
                    font.setPointSize(v.Size);
                w->setFont(font);
                SetFontCharset(o, v.Charset);
            }};
}

/// Entries of a list shown by a widget: replaced text by text when the count
/// stays (selection and item data survive), rebuilt otherwise.
template <class W>
TListAccessor itemList(int (W::*count)() const, QString (*text)(const W*, int), void (*setText)(W*, int, const QString&))
{
    return {[count, text](const QObject* o) -> std::optional<QStringList> {
                const W* w = as<W>(o);
                QStringList items;
                for (int i = 0; i < (w->*count)(); ++i)
                    items.append(text(w, i));
                return items;
            },
            [count, setText](QObject* o, const QStringList& items) {
                W* w = as<W>(o);
                if ((w->*count)() != items.size()) {
                    w->clear();
                    w->addItems(items);
                    return;
                }
                for (int i = 0; i < items.size(); ++i)
                    setText(w, i, items[i]);
            }};
}

/// A document's lines; an empty document holds none.
template <class W>
TListAccessor documentLines()
{
    return {[](const QObject* o) -> std::optional<QStringList> {
                const QString text = as<W>(o)->toPlainText();
                if (text.isEmpty())
                    return QStringList{};
                return text.split(u'\n');
            },
            [](QObject* o, const QStringList& lines) { as<W>(o)->setPlainText(lines.join(u'\n')); }};
}

// The ordinals that language files use for alignment (0 left, 1 right, 2
// centred) and layout (0 top, 1 centre, 2 bottom), mapped onto Qt's flags.
int horizontalCode(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return 1;
    if (a & Qt::AlignHCenter)
        return 2;
    return 0;
}
Qt::Alignment horizontalFlag(int code)
{
    return code == 1 ? Qt::AlignRight : code == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}
int verticalCode(Qt::Alignment a)
{
    if (a & Qt::AlignVCenter)
        return 1;
    if (a & Qt::AlignBottom)
        return 2;
    return 0;
}
Qt::Alignment verticalFlag(int code)
{
    return code == 1 ? Qt::AlignVCenter : code == 2 ? Qt::AlignBottom : Qt::AlignTop;
}

TPublishedProperties controlProperties()
{
    TPublishedProperties p;
    p.Hint = hintProperty();
    p.ShowHint = showHintProperty();
    p.Font = fontProperty();
    return p;
}

using TTable = std::map<const QMetaObject*, TPublishedProperties>;

TTable builtInTable()
{
    TTable table;

    TPublishedProperties widget = controlProperties();
    widget.Caption = stringProperty<QWidget>(&QWidget::windowTitle, &QWidget::setWindowTitle);
    table[&QWidget::staticMetaObject] = widget;

    TPublishedProperties button = controlProperties();
    button.Caption = stringProperty<QAbstractButton>(&QAbstractButton::text, &QAbstractButton::setText);
    table[&QAbstractButton::staticMetaObject] = button;
    button.Layout = {[](const QObject* o) { return as<QWidget>(o)->layoutDirection() == Qt::RightToLeft ? 1 : 0; },
                     [](QObject* o, const int& v) {
                         as<QWidget>(o)->setLayoutDirection(v == 1 ? Qt::RightToLeft : Qt::LeftToRight);
                     }};
    table[&QPushButton::staticMetaObject] = button;

    TPublishedProperties label = controlProperties();
    label.Caption = stringProperty<QLabel>(&QLabel::text, &QLabel::setText);
    label.Alignment = {[](const QObject* o) { return horizontalCode(as<QLabel>(o)->alignment()); },
                       [](QObject* o, const int& v) {
                           QLabel* l = as<QLabel>(o);
                           l->setAlignment((l->alignment() & Qt::AlignVertical_Mask) | horizontalFlag(v));
                       }};
    label.Layout = {[](const QObject* o) { return verticalCode(as<QLabel>(o)->alignment()); },
                    [](QObject* o, const int& v) {
                        QLabel* l = as<QLabel>(o);
                        l->setAlignment((l->alignment() & Qt::AlignHorizontal_Mask) | verticalFlag(v));
                    }};
    table[&QLabel::staticMetaObject] = label;

    TPublishedProperties group = controlProperties();
    group.Caption = stringProperty<QGroupBox>(&QGroupBox::title, &QGroupBox::setTitle);
    table[&QGroupBox::staticMetaObject] = group;

    // Menus and actions are menu items: a caption and a status-bar hint only.
    TPublishedProperties menu;
    menu.Caption = stringProperty<QMenu>(&QMenu::title, &QMenu::setTitle);
    menu.Hint = {[](const QObject* o) { return as<QMenu>(o)->menuAction()->statusTip(); },
                 [](QObject* o, const QString& v) { as<QMenu>(o)->menuAction()->setStatusTip(v); }};
    table[&QMenu::staticMetaObject] = menu;
    TPublishedProperties action;
    action.Caption = stringProperty<QAction>(&QAction::text, &QAction::setText);
    action.Hint = stringProperty<QAction>(&QAction::statusTip, &QAction::setStatusTip);
    table[&QAction::staticMetaObject] = action;
    table[&QMenuBar::staticMetaObject] = TPublishedProperties{};

    TPublishedProperties combo = controlProperties();
    combo.Text = {[](const QObject* o) { return as<QComboBox>(o)->currentText(); },
                  [](QObject* o, const QString& v) {
                      QComboBox* c = as<QComboBox>(o);
                      if (c->isEditable())
                          c->setEditText(v);
                      else
                          c->setCurrentIndex(c->findText(v));
                  }};
    combo.Items = itemList<QComboBox>(
        &QComboBox::count, [](const QComboBox* c, int i) { return c->itemText(i); },
        [](QComboBox* c, int i, const QString& v) { c->setItemText(i, v); });
    combo.ItemIndex = {[](const QObject* o) { return as<QComboBox>(o)->currentIndex(); },
                       [](QObject* o, const int& v) { as<QComboBox>(o)->setCurrentIndex(v); }};
    table[&QComboBox::staticMetaObject] = combo;

    TPublishedProperties list = controlProperties();
    list.Items = itemList<QListWidget>(
        &QListWidget::count, [](const QListWidget* l, int i) { return l->item(i)->text(); },
        [](QListWidget* l, int i, const QString& v) { l->item(i)->setText(v); });
    list.ItemIndex = {[](const QObject* o) { return as<QListWidget>(o)->currentRow(); },
                      [](QObject* o, const int& v) { as<QListWidget>(o)->setCurrentRow(v); }};
    table[&QListWidget::staticMetaObject] = list;

    TPublishedProperties edit = controlProperties();
    edit.Text = stringProperty<QLineEdit>(&QLineEdit::text, &QLineEdit::setText);
    edit.Alignment = {[](const QObject* o) { return horizontalCode(as<QLineEdit>(o)->alignment()); },
                      [](QObject* o, const int& v) {
                          QLineEdit* e = as<QLineEdit>(o);
                          e->setAlignment((e->alignment() & Qt::AlignVertical_Mask) | horizontalFlag(v));
                      }};
    table[&QLineEdit::staticMetaObject] = edit;

    TPublishedProperties memo = controlProperties();
    memo.Lines = documentLines<QPlainTextEdit>();
    table[&QPlainTextEdit::staticMetaObject] = memo;
    memo.Lines = documentLines<QTextEdit>();
    table[&QTextEdit::staticMetaObject] = memo;

    TPublishedProperties slider;
    slider.Hint = hintProperty();
    slider.ShowHint = showHintProperty();
    table[&QAbstractSlider::staticMetaObject] = slider;
    table[&QStatusBar::staticMetaObject] = controlProperties();

    TPublishedProperties storage;
    storage.Items = {[](const QObject* o) -> std::optional<QStringList> {
                         return as<TTextStorage>(o)->Items().ToStringList();
                     },
                     [](QObject* o, const QStringList& items) { as<TTextStorage>(o)->SetItems(items); }};
    table[&TTextStorage::staticMetaObject] = storage;
    return table;
}

TTable& table()
{
    static TTable t = builtInTable();
    return t;
}

}  // namespace

std::optional<TPropertyName> PropertyByName(const QString& name)
{
    static const std::pair<const char*, TPropertyName> names[] = {
        {"Caption", TPropertyName::Caption},     {"Text", TPropertyName::Text},
        {"Hint", TPropertyName::Hint},           {"ShowHint", TPropertyName::ShowHint},
        {"Items", TPropertyName::Items},         {"Lines", TPropertyName::Lines},
        {"ItemIndex", TPropertyName::ItemIndex}, {"Font", TPropertyName::Font},
        {"alignment", TPropertyName::Alignment}, {"Layout", TPropertyName::Layout},
    };
    for (const auto& [text, value] : names)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

const TPublishedProperties* PublishedProperties(const QObject* component)
{
    if (!component)
        return nullptr;
    const TTable& t = table();
    for (const QMetaObject* m = component->metaObject(); m; m = m->superClass()) {
        const auto it = t.find(m);
        if (it != t.end())
            return &it->second;
    }
    return nullptr;
}

bool PublishesProperty(const QObject* component, const QString& name)
{
    const TPublishedProperties* p = PublishedProperties(component);
    const std::optional<TPropertyName> which = PropertyByName(name);
    if (!p || !which)
        return false;
    switch (*which) {
    case TPropertyName::Caption: return bool(p->Caption);
    case TPropertyName::Text: return bool(p->Text);
    case TPropertyName::Hint: return bool(p->Hint);
    case TPropertyName::ShowHint: return bool(p->ShowHint);
    case TPropertyName::Items: return bool(p->Items);
    case TPropertyName::Lines: return bool(p->Lines);
    case TPropertyName::ItemIndex: return bool(p->ItemIndex);
    case TPropertyName::Font: return bool(p->Font);
    case TPropertyName::Alignment: return bool(p->Alignment);
    case TPropertyName::Layout: return bool(p->Layout);
    }
    return false;
}

void RegisterPublishedProperties(const QMetaObject& cls, TPublishedProperties properties)
{
    table()[&cls] = std::move(properties);
}

bool ShowHint(const QObject* widget)
{
    const QVariant v = widget->property(kShowHintProperty);
    return !v.isValid() || v.toBool();
}

namespace {

bool hintParked(const QObject* widget)
{
    return widget->property(kHiddenHintProperty).isValid();
}

void parkHint(QWidget* w)
{
    w->setProperty(kHiddenHintProperty, w->toolTip());
    w->setToolTip(QString());
}

}  // namespace

void SetShowHint(QObject* widget, bool value)
{
    widget->setProperty(kShowHintProperty, value);
    auto* w = qobject_cast<QWidget*>(widget);
    if (!w)
        return;
    if (!value && !hintParked(w)) {
        parkHint(w);
    } else if (value && hintParked(w)) {
        w->setToolTip(w->property(kHiddenHintProperty).toString());
        w->setProperty(kHiddenHintProperty, QVariant());
    }
}

QString Hint(const QObject* widget)
{
    if (hintParked(widget))
        return widget->property(kHiddenHintProperty).toString();
    const auto* w = qobject_cast<const QWidget*>(widget);
    return w ? w->toolTip() : QString();
}

void SetHint(QObject* widget, const QString& value)
{
    if (hintParked(widget)) {
        widget->setProperty(kHiddenHintProperty, value);
        return;
    }
    if (auto* w = qobject_cast<QWidget*>(widget))
        w->setToolTip(value);
}

void ApplyShowHintProperties(QObject* root)
{
    auto apply = [](QObject* o) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !ShowHint(w) && !hintParked(w))
            parkHint(w);
    };
    apply(root);
    for (QObject* o : root->findChildren<QObject*>())
        apply(o);
}

int FontCharset(const QObject* widget)
{
    for (const QObject* o = widget; o; o = o->parent()) {
        const QVariant v = o->property(kCharsetProperty);
        if (v.isValid())
            return v.toInt();
        // Fonts pass from parent to child only inside one window.
        if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow())
            break;
    }
    return Charset::Default;
}

void SetFontCharset(QObject* widget, int charset)
{
    widget->setProperty(kCharsetProperty, charset & 0xFF);
}

TScreenFonts& ScreenFonts()
{
    static TScreenFonts fonts = [] {
        TScreenFonts f;
        if (qApp) {
            const QFont font = QApplication::font();
            const TFontRecord record{font.family(), font.pointSize(), Charset::Default};
            f.HintFont = f.IconFont = f.MenuFont = record;
        }
        return f;
    }();
    return fonts;
}
