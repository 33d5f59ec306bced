// The string library: the methods of every plain value and of every object
// no other library claims («"abc".Length()», «line.RegexReplace("\\s+", " ")»).
//
// It is the host's default library; through the host's Empty variable
// "String" the methods that need no receiver are reached as
// «System.String.Format("%d items", n)». Strings are byte strings: lengths
// and positions count bytes, positions are 0-based and "not found" is -1.
// The receiver is taken in its string form unless a method says otherwise.
// The library keeps no state; its one setting, the case flag, is the host's.
#pragma once

#include "runtime/lib_base.h"

namespace ozra::libs {

class TtsLibString final : public runtime::TtsLibBase {
  public:
    // Becomes the host's default library.
    explicit TtsLibString(runtime::TtsHost& host);

  private:
    void Compare(runtime::LibCall& call);
    void Concat(runtime::LibCall& call);
    void Contains(runtime::LibCall& call);
    void Delete(runtime::LibCall& call);
    void EndsWith(runtime::LibCall& call);
    void Format(runtime::LibCall& call);
    void FromPointer(runtime::LibCall& call);
    void IndexOf(runtime::LibCall& call);
    void IsNullOrEmpty(runtime::LibCall& call);
    void Left(runtime::LibCall& call);
    void Length(runtime::LibCall& call);
    void Quote(runtime::LibCall& call);
    void RegexIsMatch(runtime::LibCall& call);
    void RegexMatch(runtime::LibCall& call);
    void RegexMatchs(runtime::LibCall& call);
    void RegexReplace(runtime::LibCall& call);
    void RegexSplit(runtime::LibCall& call);
    void Replace(runtime::LibCall& call);
    void Replicate(runtime::LibCall& call);
    void Reverse(runtime::LibCall& call);
    void Right(runtime::LibCall& call);
    void SameTo(runtime::LibCall& call);
    void Settings(runtime::LibCall& call);
    void StartsWith(runtime::LibCall& call);
    void SubString(runtime::LibCall& call);
    void ToByte(runtime::LibCall& call);
    void ToChar(runtime::LibCall& call);
    void ToHexString(runtime::LibCall& call);
    void ToLower(runtime::LibCall& call);
    void ToLowerCamelCase(runtime::LibCall& call);
    void ToNumber(runtime::LibCall& call);
    void ToUpper(runtime::LibCall& call);
    void ToUpperCamelCase(runtime::LibCall& call);
    void Trim(runtime::LibCall& call);
    void TrimEnd(runtime::LibCall& call);
    void TrimStart(runtime::LibCall& call);
};

} // namespace ozra::libs
