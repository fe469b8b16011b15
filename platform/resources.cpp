#include "platform/resources.h"

#include <QDir>
#include <QResource>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::string Upper(const char* name) {
    std::string s(name ? name : "");
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

struct WaveTable {
    std::mutex mutex;
    // Kept for the whole run: handed-out pointers must never dangle.
    std::deque<std::vector<unsigned char>> storage;
    std::map<std::string, ResourceBytes> overrides;
    std::map<std::string, ResourceBytes> compiled;
    bool scanned = false;
};

WaveTable& Waves() {
    static WaveTable table;
    return table;
}

void ScanCompiledWaves(WaveTable& table) {
    if (table.scanned) return;
    table.scanned = true;
    const QDir dir(QStringLiteral(":/wav"));
    for (const QString& file : dir.entryList(QDir::Files)) {
        const QResource res(dir.filePath(file));
        if (!res.isValid()) continue;
        const std::string key = Upper(QFileInfo(file).completeBaseName().toUtf8().constData());
        if (res.compressionAlgorithm() == QResource::NoCompression) {
            table.compiled[key] = {res.data(), static_cast<std::size_t>(res.size())};
        } else {
            const QByteArray bytes = res.uncompressedData();
            auto& kept = table.storage.emplace_back(bytes.begin(), bytes.end());
            table.compiled[key] = {kept.data(), kept.size()};
        }
    }
}

}  // namespace

bool LoadBitmapResource(int id, QImage* out) {
    QImage image(QStringLiteral(":/bmp/%1.bmp").arg(id));
    if (image.isNull()) return false;
    *out = image.convertToFormat(QImage::Format_RGB32);
    return true;
}

ResourceBytes FindWaveResource(const char* name) {
    WaveTable& table = Waves();
    std::lock_guard lock(table.mutex);
    const std::string key = Upper(name);
    if (auto it = table.overrides.find(key); it != table.overrides.end()) return it->second;
    ScanCompiledWaves(table);
    if (auto it = table.compiled.find(key); it != table.compiled.end()) return it->second;
    return {};
}

void SetWaveResourceOverride(const char* name, const unsigned char* data, std::size_t size) {
    WaveTable& table = Waves();
    std::lock_guard lock(table.mutex);
    const std::string key = Upper(name);
    if (!data) {
        table.overrides.erase(key);
        return;
    }
    auto& kept = table.storage.emplace_back(data, data + size);
    table.overrides[key] = {kept.data(), kept.size()};
}
