// A full disk for the length of a scope: the process may not grow any file
// past a few bytes (RLIMIT_FSIZE, which binds every user, root included),
// so the write that would go past them fails as on a full disk. The signal
// the limit raises is ignored while it holds, so the write reports an error
// instead of ending the process. Standard output and error, being pipes or
// terminals, are not limited.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace ozra {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }

  private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};

} // namespace ozra
