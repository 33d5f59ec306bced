// Runs the ozra program in a folder of its own and collects how it ended:
// its exit status (or the signal that ended it), standard output and
// standard error. Standard output may also go to a full device, be closed,
// or go to a reader that stops after the first line.
#pragma once

#include <string>
#include <vector>

namespace ozra::runner {

enum class Stdout { Captured, FullDevice, Closed, FirstLineOnly };

struct Outcome {
    // False when a signal ended the program.
    bool Exited = false;
    // The exit status, or the signal number.
    int Status = 0;
    std::string Out;
    std::string Err;
};

// A temporary folder, removed with everything in it.
class Folder {
  public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

    std::string Path; // with a trailing "/"
};

Outcome RunOzra(const Folder& folder, const std::vector<std::string>& arguments,
                Stdout out = Stdout::Captured);

} // namespace ozra::runner
