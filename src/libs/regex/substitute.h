// The replacement strings of regex replaces, with their "$" variables.
//
// A replacement is read once per replace with the process-wide pattern
//   \$(\d+|\$|&|`|''|\+|_|{([^}]*)})
// into a list of pieces, which is then expanded for each match:
//   $$ a "$"; $& the whole match; $'' the text after the match; $` the text
//   before it; $+ the last group (the whole match when there are none);
//   $_ the whole subject; ${name} a named group; $n group n.
// A "$" that starts none of these is copied literally; a group that did not
// take part adds "". An unknown name or a group number past the pattern's
// groups fails when the first match is expanded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ozra::regex::engine {

class TRegexMatch;

class TSubstitute {
public:
    explicit TSubstitute(std::string_view replacement);

    // Appends the expansion for one successful match.
    void Expand(const TRegexMatch& match, std::string& out) const;

private:
    enum class PieceKind { Literal, Group, Named, Before, After, LastGroup, Subject };
    struct Piece {
        PieceKind Kind;
        std::string Text = {};  // literal text or group name
        int Group = 0;
    };

    std::vector<Piece> pieces_;
};

}  // namespace ozra::regex::engine
