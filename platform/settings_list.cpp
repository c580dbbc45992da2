#include "settings_list.h"

#include "registry.h"

#include <algorithm>

namespace {

QString ValueName(const QString& name, qsizetype i)
{
    return name + QString::number(i + 1);
}

QString CountName(const QString& name)
{
    return name + QStringLiteral("Count");
}

}  // namespace

QStringList ReadSettingsList(const QString& Key, const QString& Name, int MaxCount)
{
    QStringList values;
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(Key))
        return values;
    const int count = std::min(reg.ReadInteger(CountName(Name)).value_or(0), MaxCount);
    for (int i = 0; i < count; ++i)
        if (std::optional<QString> value = reg.ReadString(ValueName(Name, i)))
            values.append(std::move(*value));
    return values;
}

bool WriteSettingsList(const QString& Key, const QString& Name, const QStringList& Values, int MaxCount)
{
    if (Values.size() > MaxCount)
        return false;
    TRegistry reg;
    if (!reg.OpenKey(Key, true))
        return false;
    for (qsizetype i = 0; i < Values.size(); ++i)
        if (!reg.WriteString(ValueName(Name, i), Values[i]))
            return false;
    return reg.WriteInteger(CountName(Name), static_cast<std::int32_t>(Values.size()));
}
