#include "support/redaction.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {
// "scheme://user:" or a mistyped "scheme:user:" (a scheme starts a word, not a path's part),
// then the password up to the last '@' of the word: a password may hold an '@' a user did not
// escape.
const QRegularExpression kUrlPassword(
    QStringLiteral("(?<![\\w+.\\-/\\\\])([A-Za-z][A-Za-z0-9+.-]*:/{0,2}[^\\s:/@]*:)[^\\s]*(@)"));
// libpq's key=value form and its environment variable.
const QRegularExpression
    kSetting(QStringLiteral("((?:password|PGPASSWORD)\\s*=\\s*)('[^']*'|\\S+)"),
             QRegularExpression::CaseInsensitiveOption);
} // namespace

QString Redaction::text(const QString &text)
{
    if (!text.contains(QLatin1Char('@')) &&
        !text.contains(QLatin1String("assword"), Qt::CaseInsensitive))
        return text;
    const QString mask = QLatin1String(kMask);
    QString result = text;
    result.replace(kUrlPassword, QStringLiteral("\\1") + mask + QStringLiteral("\\2"));
    result.replace(kSetting, QStringLiteral("\\1") + mask);
    return result;
}

QStringList Redaction::texts(const QStringList &texts)
{
    QStringList result;
    result.reserve(texts.size());
    for (const QString &line : texts)
        result.append(text(line));
    return result;
}

QJsonValue Redaction::json(const QJsonValue &value)
{
    if (value.isString())
        return text(value.toString());
    if (value.isObject())
        return json(value.toObject());
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue &item : value.toArray())
            array.append(json(item));
        return array;
    }
    return value;
}

QJsonObject Redaction::json(const QJsonObject &object)
{
    QJsonObject result;
    for (auto it = object.begin(); it != object.end(); ++it)
        result.insert(it.key(), json(it.value()));
    return result;
}
