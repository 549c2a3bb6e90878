#include "storage/Backups.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <tuple>
#include <utility>

#include "platform/ReplaceFile.h"
#include "platform/UserDataFolder.h"
#include "platform/Utf8Path.h"
#include "storage/ParameterFile.h"
#include "storage/TextFile.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t StampLength = 19;  // "2026-12-07_14-03-22"
constexpr char Extension[] = ".dat";

struct BackupName {
    std::string stamp;
    int serial = 1;  // the n-th backup within the same second
    std::string file;
    std::string occasion;  // as in the name: "vor-Empfang"
    fs::file_time_type written;
    std::ptrdiff_t rank = 0;  // 1 + its place in the record; 0 when it has none
};

// Serial numbers tried for a new backup's name before giving up: the names
// may be taken by anything, a link someone put there included.
constexpr int MaxSerialTries = 1000;

bool isStamp(const std::string& s) {
    static constexpr char Pattern[] = "dddd-dd-dd_dd-dd-dd";
    if (s.size() != StampLength) return false;
    for (std::size_t i = 0; i < StampLength; ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(s[i])) != 0;
        if (Pattern[i] == 'd' ? !digit : s[i] != Pattern[i]) return false;
    }
    return true;
}

bool isOccasionName(const std::string& name) {
    for (int i = 0; i <= static_cast<int>(BackupOccasion::ProgramEnd); ++i) {
        if (name == backupOccasionName(static_cast<BackupOccasion>(i))) return true;
    }
    return false;
}

// "STAMP_OCCASION.dat" or "STAMP_OCCASION_N.dat" with one of the program's
// occasions; nothing for any other name, also when it looks alike
// ("2020-01-01_00-00-00_meine-Einstellung.dat" is the user's).
std::optional<BackupName> parseBackupName(const std::string& file) {
    const std::size_t ext = sizeof Extension - 1;
    if (file.size() < StampLength + 2 + ext ||
        file.compare(file.size() - ext, ext, Extension) != 0 || file[StampLength] != '_' ||
        !isStamp(file.substr(0, StampLength))) {
        return std::nullopt;
    }
    std::string rest = file.substr(StampLength + 1, file.size() - StampLength - 1 - ext);
    BackupName name{file.substr(0, StampLength), 1, file, {}, {}, 0};
    if (const std::size_t mark = rest.rfind('_'); mark != std::string::npos) {
        const std::string serial = rest.substr(mark + 1);
        if (serial.empty() || serial.size() > 6 || serial.front() == '0' ||
            !std::all_of(serial.begin(), serial.end(),
                         [](unsigned char ch) { return std::isdigit(ch) != 0; })) {
            return std::nullopt;
        }
        name.serial = std::stoi(serial);
        rest.erase(mark);
    }
    if (!isOccasionName(rest)) return std::nullopt;
    name.occasion = rest;
    return name;
}

// The names of the program's backups in the order it wrote them, oldest
// first: its own record in the folder. Clocks jump (one that ran ahead named
// backups in the future), so neither the time in a name nor a file's time
// tells which backup came last.
constexpr char RecordName[] = "Reihenfolge.txt";
constexpr std::size_t MaxRecordBytes = 1 << 20;

std::vector<std::string> readRecord(const std::string& folder) {
    std::vector<std::string> names;
    const auto text = readTextFile(utf8FromPath(pathFromUtf8(folder) / RecordName), MaxRecordBytes);
    if (!text) return names;
    for (std::size_t pos = 0; pos < text->size();) {
        const std::size_t end = std::min(text->find('\n', pos), text->size());
        if (end > pos) names.push_back(text->substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

// A record that cannot be written costs only the order of the backups it
// misses, which then count as the oldest.
void writeRecord(const std::string& folder, const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += name + "\n";
    (void)replaceOwnFile(utf8FromPath(pathFromUtf8(folder) / RecordName), text.data(), text.size());
}

// The program's backups in the folder, newest first: parameter files (not
// links) named as the program names them. Those in `record` are ordered as
// it lists them; the others (from before there was a record) come after
// them all, ordered by their file times.
std::vector<BackupName> backupsIn(const std::string& folder,
                                  const std::vector<std::string>& record) {
    std::vector<BackupName> names;
    std::error_code ec;
    for (fs::directory_iterator it(pathFromUtf8(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || it->is_symlink(entryError) ||
            it->file_size(entryError) != ParameterFileSize || entryError) {
            continue;
        }
        if (auto name = parseBackupName(utf8FromPath(it->path().filename()))) {
            name->written = it->last_write_time(entryError);
            const auto listed = std::find(record.begin(), record.end(), name->file);
            name->rank = listed == record.end() ? 0 : 1 + (listed - record.begin());
            names.push_back(std::move(*name));
        }
    }
    std::sort(names.begin(), names.end(), [](const BackupName& a, const BackupName& b) {
        return std::tie(a.rank, a.written, a.stamp, a.serial) >
               std::tie(b.rank, b.written, b.stamp, b.serial);
    });
    return names;
}

std::string stampOf(const std::tm& when) {
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", &when);
    return std::string(text, n);
}

// The program runs all of this on one thread, so the shared buffer of
// std::localtime is never raced.
std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local ? *local : std::tm{};
}

BackupResult failed(const std::string& message) {
    return {BackupStatus::Failed, {}, message};
}

}  // namespace

const char* backupOccasionName(BackupOccasion occasion) {
    switch (occasion) {
        case BackupOccasion::StartUp:
            return "Programmstart";
        case BackupOccasion::BeforeOpen:
            return "vor-Oeffnen";
        case BackupOccasion::BeforeNew:
            return "vor-Neu";
        case BackupOccasion::BeforeReceive:
            return "vor-Empfang";
        case BackupOccasion::BeforeSend:
            return "vor-Senden";
        case BackupOccasion::BeforeSave:
            return "vor-Speichern";
        case BackupOccasion::ProgramEnd:
            return "Programmende";
    }
    return "Sicherung";
}

std::optional<BackupFileInfo> backupFileInfo(const std::string& fileName) {
    const std::optional<BackupName> name = parseBackupName(fileName);
    if (!name) return std::nullopt;
    static constexpr struct {
        BackupOccasion occasion;
        const char* words;
    } Words[] = {
        {BackupOccasion::StartUp, "Beim Programmstart"},
        {BackupOccasion::BeforeOpen, "Vor dem Öffnen"},
        {BackupOccasion::BeforeNew, "Vor \"Neu\""},
        {BackupOccasion::BeforeReceive, "Vor dem Empfang"},
        {BackupOccasion::BeforeSend, "Vor dem Senden"},
        {BackupOccasion::BeforeSave, "Vor dem Speichern"},
        {BackupOccasion::ProgramEnd, "Beim Programmende"},
    };
    std::string occasion;
    for (const auto& w : Words) {
        if (name->occasion == backupOccasionName(w.occasion)) occasion = w.words;
    }
    // "2026-12-07_18-42-10"
    const std::string& s = name->stamp;
    return BackupFileInfo{s.substr(8, 2) + "." + s.substr(5, 2) + "." + s.substr(0, 4),
                          s.substr(11, 2) + ":" + s.substr(14, 2) + ":" + s.substr(17, 2),
                          std::move(occasion)};
}

std::string backupFolder() {
    const std::string data = userDataFolder();
    return data.empty() ? std::string() : utf8FromPath(pathFromUtf8(data) / "Filtaro" / "backups");
}

BackupStore::BackupStore(std::string folder) : m_folder(std::move(folder)) {}

BackupResult BackupStore::keepImage(const ParameterImage& image, BackupOccasion occasion,
                                    const std::tm& when) const {
    if (m_folder.empty()) {
        return failed("Keine Sicherung angelegt: es gibt keinen Ordner für Benutzerdaten.");
    }
    const std::string notWritten = "Sicherung konnte nicht in " + m_folder + " angelegt werden.";
    std::error_code ec;
    fs::create_directories(pathFromUtf8(m_folder), ec);
    if (ec) return failed(notWritten);

    std::vector<std::string> record = readRecord(m_folder);
    const std::vector<BackupName> backups = backupsIn(m_folder, record);
    if (!backups.empty()) {
        ParameterImage newest;
        const std::string path = utf8FromPath(pathFromUtf8(m_folder) / backups.front().file);
        if (loadParameterFile(newest, path) == 1 && newest == image) {
            return {BackupStatus::Unchanged, path, {}};
        }
    }
    const std::string stamp = stampOf(when);
    int serial = 1;
    for (const BackupName& b : backups) {
        if (b.stamp == stamp) serial = std::max(serial, b.serial + 1);
    }
    // A new file under a name nothing else has: a link or a file already
    // there (the user's, or one planted to redirect the write) is never
    // followed or written over; the next number is taken instead.
    std::string path;
    for (int tries = 0;; ++tries, ++serial) {
        const std::string file = stamp + "_" + backupOccasionName(occasion) +
                                 (serial > 1 ? "_" + std::to_string(serial) : "") + Extension;
        path = utf8FromPath(pathFromUtf8(m_folder) / file);
        if (createNewFile(path, image.bytes().data(), image.bytes().size())) break;
        if (errno != EEXIST || tries == MaxSerialTries) return failed(notWritten);
    }

    // The oldest of the program's own backups go, never the one just
    // written; a file that cannot be removed stays and is tried again next
    // time. The record keeps the order of those that stay.
    const std::string written = utf8FromPath(pathFromUtf8(path).filename());
    record.push_back(written);
    std::vector<std::string> kept{written};  // newest first
    for (const BackupName& b : backupsIn(m_folder, record)) {
        if (b.file == written) continue;
        if (kept.size() >= BackupsKept) {
            std::error_code removeError;
            fs::remove(pathFromUtf8(m_folder) / b.file, removeError);
            if (!removeError) continue;
        }
        kept.push_back(b.file);
    }
    std::reverse(kept.begin(), kept.end());
    writeRecord(m_folder, kept);
    return {BackupStatus::Written, path, {}};
}

BackupResult BackupStore::keepImage(const ParameterImage& image, BackupOccasion occasion) const {
    return keepImage(image, occasion, localNow());
}

BackupResult BackupStore::keepFile(const std::string& path, BackupOccasion occasion,
                                   const std::tm& when) const {
    ParameterImage previous;
    if (loadParameterFile(previous, path) != 1) return {BackupStatus::NothingToKeep, {}, {}};
    return keepImage(previous, occasion, when);
}

BackupResult BackupStore::keepFile(const std::string& path, BackupOccasion occasion) const {
    return keepFile(path, occasion, localNow());
}

std::vector<std::string> BackupStore::list() const {
    std::vector<std::string> paths;
    for (const BackupName& b : backupsIn(m_folder, readRecord(m_folder))) {
        paths.push_back(utf8FromPath(pathFromUtf8(m_folder) / b.file));
    }
    return paths;
}
