#include "instrument/instrumentaddress.h"

#include <QUrl>
#include <QUrlQuery>

std::optional<InstrumentAddress> InstrumentAddress::parse(const QString &text, QString *error)
{
    const auto fail = [&]() -> std::optional<InstrumentAddress> {
        if (error)
            *error = tr("“%1” 不是仪器地址（tcp://主机[:端口]、usbtmc:///dev/usbtmc0 或 "
                        "serial:///dev/ttyUSB1?baud=9600）")
                         .arg(text);
        return std::nullopt;
    };
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || !url.userInfo().isEmpty() || !url.fragment().isNull())
        return fail();
    InstrumentAddress address;
    address.text = text;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("tcp")) {
        address.host = url.host();
        const int port = url.port(kDefaultTcpPort);
        if (address.host.isEmpty() || port <= 0 || !url.path().isEmpty() || url.hasQuery())
            return fail();
        address.port = static_cast<quint16>(port);
        return address;
    }
    address.path = url.path();
    if (!url.host().isEmpty() || url.port() != -1 || !address.path.startsWith(QLatin1Char('/')) ||
        address.path.size() < 2)
        return fail();
    if (scheme == QLatin1String("usbtmc")) {
        if (url.hasQuery())
            return fail();
        address.scheme = Scheme::Usbtmc;
        return address;
    }
    if (scheme != QLatin1String("serial"))
        return fail();
    address.scheme = Scheme::Serial;
    const QUrlQuery query(url);
    const auto items = query.queryItems();
    for (const auto &item : items) {
        bool ok = false;
        address.baud = item.second.toInt(&ok);
        if (item.first != QLatin1String("baud") || !ok || address.baud <= 0 || items.size() > 1)
            return fail();
    }
    return address;
}
