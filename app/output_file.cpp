#include "app/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string failure(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

}  // namespace

std::string open_pending(const std::string& path, PendingFile* pending) {
    *pending = PendingFile{};
    // O_EXCL: a name already there, a stale partial file or a link planted
    // beside the target, is never written through; the next name is tried.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path + ".partial";
        if (attempt > 0) name += std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return failure(path, errno);
        }
        std::FILE* file = ::fdopen(fd, "wb");
        if (file == nullptr) {
            const int error = errno;
            ::close(fd);
            ::unlink(name.c_str());
            return failure(path, error);
        }
        *pending = PendingFile{file, name, path};
        return "";
    }
    return failure(path, EEXIST);
}

std::string commit_pending(PendingFile* pending) {
    int error = 0;
    if (std::fflush(pending->file) != 0 || std::ferror(pending->file)) error = errno ? errno : EIO;
    if (std::fclose(pending->file) != 0 && error == 0) error = errno;
    pending->file = nullptr;
    if (error == 0 && std::rename(pending->temporary.c_str(), pending->target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        std::remove(pending->temporary.c_str());
        return failure(pending->target, error);
    }
    return "";
}

void discard_pending(PendingFile* pending) {
    if (pending->file != nullptr) std::fclose(pending->file);
    pending->file = nullptr;
    if (!pending->temporary.empty()) std::remove(pending->temporary.c_str());
}
