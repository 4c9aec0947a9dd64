// Preference values over QSettings, one INI file per application identifier in the XDG config folder.
#include "Platform/PreferencesStore.h"

#include "Platform/MacRoman.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

std::map<std::string, std::unique_ptr<QSettings>>& Stores() {
    static std::map<std::string, std::unique_ptr<QSettings>> stores;
    return stores;
}

std::string Ascii(ConstStr255Param s) {
    return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string();
}

QSettings* Store(ConstStr255Param app) {
    if (app == nullptr || app[0] == 0) return nullptr;
    std::string id = Ascii(app);
    auto& stores = Stores();
    auto it = stores.find(id);
    if (it != stores.end()) return it->second.get();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(folder);
    auto settings = std::make_unique<QSettings>(folder + QLatin1Char('/') + QString::fromLatin1(id.c_str()) +
                                                    QStringLiteral(".conf"),
                                                QSettings::IniFormat);
    QSettings* raw = settings.get();
    stores.emplace(id, std::move(settings));
    return raw;
}

QString Key(ConstStr255Param key) {
    return QString::fromLatin1(Ascii(key).c_str());
}

} // namespace

Size PrefGetData(ConstStr255Param key, Size size, void* buffer, ConstStr255Param app) {
    QSettings* s = Store(app);
    if (s == nullptr || !s->contains(Key(key))) return 0;
    QByteArray bytes = s->value(Key(key)).toByteArray();
    Size n = bytes.size() < size ? Size(bytes.size()) : size;
    if (n > 0 && buffer != nullptr) std::memcpy(buffer, bytes.constData(), size_t(n));
    return n;
}

Size PrefDataLength(ConstStr255Param key, ConstStr255Param app) {
    QSettings* s = Store(app);
    if (s == nullptr || !s->contains(Key(key))) return 0;
    return Size(s->value(Key(key)).toByteArray().size());
}

void PrefSetData(ConstStr255Param key, Size size, const void* buffer, ConstStr255Param app) {
    QSettings* s = Store(app);
    if (s == nullptr) return;
    if (buffer == nullptr) {
        s->remove(Key(key));
        return;
    }
    s->setValue(Key(key), QByteArray(static_cast<const char*>(buffer), qsizetype(size)));
}

Boolean PrefExists(ConstStr255Param key, ConstStr255Param app) {
    QSettings* s = Store(app);
    return s != nullptr && s->contains(Key(key));
}

void PrefRemove(ConstStr255Param key, ConstStr255Param app) {
    if (QSettings* s = Store(app)) s->remove(Key(key));
}

void PrefGetPString(ConstStr255Param key, Str255 out, ConstStr255Param app) {
    out[0] = 0;
    QSettings* s = Store(app);
    if (s == nullptr || !s->contains(Key(key))) return;
    UTF8ToPStr(s->value(Key(key)).toString().toStdString(), out, 255);
}

void PrefSetPString(ConstStr255Param key, ConstStr255Param value, ConstStr255Param app) {
    if (QSettings* s = Store(app)) s->setValue(Key(key), QString::fromStdString(PStrToUTF8(value)));
}

void PrefGetCString(ConstStr255Param key, char* out, Size capacity, ConstStr255Param app) {
    if (capacity <= 0) return;
    out[0] = 0;
    QSettings* s = Store(app);
    if (s == nullptr || !s->contains(Key(key))) return;
    std::string text = UTF8ToMacRoman(s->value(Key(key)).toString().toStdString());
    size_t n = text.size() < size_t(capacity - 1) ? text.size() : size_t(capacity - 1);
    std::memcpy(out, text.data(), n);
    out[n] = 0;
}

void PrefSetCString(ConstStr255Param key, const char* value, ConstStr255Param app) {
    if (QSettings* s = Store(app)) s->setValue(Key(key), QString::fromStdString(MacRomanToUTF8(value)));
}

SInt32 PrefGetLong(ConstStr255Param key, SInt32 fallback, ConstStr255Param app) {
    QSettings* s = Store(app);
    if (s == nullptr || !s->contains(Key(key))) return fallback;
    bool ok = false;
    int v = s->value(Key(key)).toInt(&ok);
    return ok ? SInt32(v) : fallback;
}

void PrefSetLong(ConstStr255Param key, SInt32 value, ConstStr255Param app) {
    if (QSettings* s = Store(app)) s->setValue(Key(key), int(value));
}

Float64 PrefGetDouble(ConstStr255Param key, Float64 fallback, ConstStr255Param app) {
    QSettings* s = Store(app);
    if (s == nullptr || !s->contains(Key(key))) return fallback;
    bool ok = false;
    double v = s->value(Key(key)).toDouble(&ok);
    return ok ? v : fallback;
}

void PrefSetDouble(ConstStr255Param key, Float64 value, ConstStr255Param app) {
    if (QSettings* s = Store(app)) s->setValue(Key(key), value);
}

void PrefAddSuite(Boolean, ConstStr255Param app) {
    Store(app);
}

void PrefAppSynchronize(ConstStr255Param app) {
    if (QSettings* s = Store(app)) s->sync();
}

void PrefForgetStores() {
    for (auto& entry : Stores())
        entry.second->sync();
    Stores().clear();
}
