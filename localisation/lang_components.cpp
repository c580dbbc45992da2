#include "lang_components.h"

#include "lang_properties.h"

#include <QMenu>
#include <QWidget>

TApplicationForms::TApplicationForms(QObject* parent) : QObject(parent) {}

TApplicationForms& TApplicationForms::Application()
{
    static TApplicationForms application;
    return application;
}

void TApplicationForms::AddForm(QWidget* form)
{
    if (!form || Forms().contains(form))
        return;
    FForms.append(QPointer<QWidget>(form));
}

void TApplicationForms::RemoveForm(QWidget* form)
{
    FForms.removeIf([form](const QPointer<QWidget>& p) { return p.isNull() || p.data() == form; });
}

QList<QWidget*> TApplicationForms::Forms() const
{
    QList<QWidget*> forms;
    for (const QPointer<QWidget>& p : FForms)
        if (p)
            forms.append(p.data());
    return forms;
}

QWidget* TApplicationForms::MainForm() const
{
    for (const QPointer<QWidget>& p : FForms)
        if (p)
            return p.data();
    return nullptr;
}

void RegisterForm(QWidget* form)
{
    if (!form)
        return;
    TApplicationForms::Application().AddForm(form);
    ApplyShowHintProperties(form);
}

bool IsForm(const QObject* object)
{
    const auto* w = qobject_cast<const QWidget*>(object);
    return w && w->isWindow() && !qobject_cast<const QMenu*>(w);
}

namespace {

void collectNamed(const QObject* parent, QList<QObject*>& out)
{
    for (QObject* child : parent->children()) {
        const QString name = child->objectName();
        if (name.startsWith(QLatin1String("qt_")) || IsForm(child))
            continue;
        if (!name.isEmpty())
            out.append(child);
        if (!child->property(kNoComponentsProperty).toBool())
            collectNamed(child, out);
    }
}

}  // namespace

QList<QObject*> OwnedComponents(const QObject* owner)
{
    if (!owner)
        return {};
    if (const auto* root = qobject_cast<const TApplicationForms*>(owner)) {
        QList<QObject*> forms;
        for (QWidget* form : root->Forms())
            forms.append(form);
        return forms;
    }
    QList<QObject*> components;
    if (IsForm(owner))
        collectNamed(owner, components);
    return components;
}

void CollectComponents(const QString& prefix, TStringList& list, const TStringList* excluded,
                       QObject* component)
{
    if (!component)
        return;
    const QString name = component->objectName();
    if (!name.isEmpty()) {
        const QString path = prefix + name;
        const bool isExcluded = excluded && (excluded->IndexOf(name) >= 0 || excluded->IndexOf(path) >= 0);
        if (!isExcluded)
            list.AddObject(path, QVariant::fromValue(component));
    }
    const QString childPrefix = name.isEmpty() ? QString() : prefix + name + u'.';
    for (QObject* child : OwnedComponents(component))
        CollectComponents(childPrefix, list, excluded, child);
}
