#include "storage/ParameterFile.h"

#include <filesystem>
#include <fstream>

#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

int loadParameterFile(ParameterImage& image, const std::string& path) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    // Also keeps directories, pipes and devices out: none of them is a parameter file.
    if (path.empty() || !std::filesystem::is_regular_file(file, ec)) {
        return 0;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return 0;
    }
    // Read one byte more than a valid file holds, so that a file that has
    // grown or shrunk since it was looked at is still refused.
    ParameterImage::Bytes scratch;
    in.read(reinterpret_cast<char*>(scratch.data()), static_cast<std::streamsize>(scratch.size()));
    if (in.gcount() != static_cast<std::streamsize>(ParameterFileSize)) {
        return 0;
    }
    char extra = 0;
    if (in.read(&extra, 1).gcount() != 0) {
        return 0;
    }
    image.bytes() = scratch;
    return 1;
}

int saveParameterFile(const ParameterImage& image, const std::string& path) {
    return replaceFileContents(path, image.bytes().data(), image.bytes().size())
               ? 0
               : ParameterFileSaveFailed;
}

int saveOwnParameterFile(const ParameterImage& image, const std::string& path) {
    return replaceOwnFile(path, image.bytes().data(), image.bytes().size())
               ? 0
               : ParameterFileSaveFailed;
}

ParameterFileEntry parameterFileEntry(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    const std::filesystem::file_status status = std::filesystem::symlink_status(file, ec);
    switch (status.type()) {
        case std::filesystem::file_type::not_found:
            return ParameterFileEntry::Missing;
        case std::filesystem::file_type::symlink:
            return ParameterFileEntry::SymbolicLink;
        case std::filesystem::file_type::regular: {
            const auto size = std::filesystem::file_size(file, ec);
            if (ec) return ParameterFileEntry::NoFile;
            return size == ParameterFileSize ? ParameterFileEntry::ParameterFile
                                             : ParameterFileEntry::OtherFile;
        }
        default:
            return ParameterFileEntry::NoFile;
    }
}
