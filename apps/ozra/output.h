// The runner's standard output: the one place it is written, so that a
// write that fails is never taken for success.
//
// A write that cannot be completed (a full disk, a closed descriptor)
// raises `OutputError`, which the runner reports with «ozra: cannot write
// the output: reason» and exit status 1. When the reader has gone away (a
// pipe closed early, as «| head -1» does), the error's `ReaderGone` is true
// and the runner ends quietly with status 141, the status a shell shows
// for a writer stopped by a closed pipe.
#pragma once

#include <stdexcept>
#include <string_view>

namespace ozra::app {

class OutputError : public std::runtime_error {
  public:
    explicit OutputError(int error);

    bool ReaderGone() const noexcept;

  private:
    int error_;
};

// Called first thing: a closed pipe then shows as an error of the write
// rather than a signal that ends the process, and so does a file-size
// limit. A standard descriptor the runner was started without is taken by
// /dev/null, so that no file the run opens can take its number and receive
// the output; standard output is then opened for reading only, so writing
// to it still fails as it should.
void PrepareStandardStreams();

// Writes every byte to standard output, or raises.
void WriteOutput(std::string_view bytes);

// Reports the error (unless the reader is gone) and answers the exit status.
int OutputFailed(const OutputError& error);

} // namespace ozra::app
