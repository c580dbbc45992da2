#pragma once

#include "string_list.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

/// The application as the root of translation: it owns the program's forms in
/// the order they were created, the first being the main form. Qt knows no
/// creation order of top-level widgets, so each form adds itself here when
/// it is constructed (after its controls exist). Tests make their own root
/// with test forms; the program uses Application().
class TApplicationForms : public QObject {
    Q_OBJECT
public:
    explicit TApplicationForms(QObject* parent = nullptr);

    /// The process-wide root: the global application object's forms.
    static TApplicationForms& Application();

    /// Adds a form at the end (once); a destroyed form leaves by itself.
    void AddForm(QWidget* form);
    void RemoveForm(QWidget* form);
    /// The live forms in creation order.
    QList<QWidget*> Forms() const;
    /// The first live form, or nullptr.
    QWidget* MainForm() const;

private:
    QList<QPointer<QWidget>> FForms;
};

/// What every form of the program does at the end of its constructor (its
/// controls exist): joins the application's forms in creation order and parks
/// the hints its form description marked ShowHint = false.
void RegisterForm(QWidget* form);

/// A widget that sets this dynamic property to true keeps its children to
/// itself: they are its inner parts, not components of the form.
inline constexpr char kNoComponentsProperty[] = "qrlNoComponents";

/// A form: a top-level widget other than a popup menu.
bool IsForm(const QObject* object);

/// The components `owner` owns, in ownership order. The application root
/// owns its forms; a form owns the named objects on it, found in pre-order
/// in child order (the order of its form description) whatever their nesting,
/// leaving out Qt's inner parts (names starting with "qt_", the children of
/// widgets marked kNoComponentsProperty) and other windows with everything on
/// them (dialogs parented to the form are forms of their own). Anything else
/// owns nothing.
QList<QObject*> OwnedComponents(const QObject* owner);

/// Walks the ownership tree from `component`, pre-order: appends (prefix +
/// name, component) for every named component that neither its bare name nor
/// its full path excludes (the excluded list may be nullptr; comparisons
/// ignore case), then walks what it owns with prefix + name + "." (an empty
/// prefix under an unnamed owner). An excluded component's own components are
/// still walked. From the application root this gives paths such as
/// MainDlg.print_btn.
void CollectComponents(const QString& prefix, TStringList& list, const TStringList* excluded,
                       QObject* component);
