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

    void Compare(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void Concat(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void Contains(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void Delete(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void EndsWith(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void Format(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void FromPointer(runtime::TtsResult& context, front::TtsExpression& value,
                   const front::TtsExpressions* arguments);
    void IndexOf(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void IsNullOrEmpty(runtime::TtsResult& context, front::TtsExpression& value,
                     const front::TtsExpressions* arguments);
    void Left(runtime::TtsResult& context, front::TtsExpression& value,
            const front::TtsExpressions* arguments);
    void Length(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void Quote(runtime::TtsResult& context, front::TtsExpression& value,
             const front::TtsExpressions* arguments);
    void RegexIsMatch(runtime::TtsResult& context, front::TtsExpression& value,
                    const front::TtsExpressions* arguments);
    void RegexMatch(runtime::TtsResult& context, front::TtsExpression& value,
                  const front::TtsExpressions* arguments);
    void RegexMatchs(runtime::TtsResult& context, front::TtsExpression& value,
                   const front::TtsExpressions* arguments);
    void RegexReplace(runtime::TtsResult& context, front::TtsExpression& value,
                    const front::TtsExpressions* arguments);
    void RegexSplit(runtime::TtsResult& context, front::TtsExpression& value,
                  const front::TtsExpressions* arguments);
    void Replace(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void Replicate(runtime::TtsResult& context, front::TtsExpression& value,
                 const front::TtsExpressions* arguments);
    void Reverse(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void Right(runtime::TtsResult& context, front::TtsExpression& value,
             const front::TtsExpressions* arguments);
    void SameTo(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void Settings(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void StartsWith(runtime::TtsResult& context, front::TtsExpression& value,
                  const front::TtsExpressions* arguments);
    void SubString(runtime::TtsResult& context, front::TtsExpression& value,
                 const front::TtsExpressions* arguments);
    void ToByte(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void ToChar(runtime::TtsResult& context, front::TtsExpression& value,
              const front::TtsExpressions* arguments);
    void ToHexString(runtime::TtsResult& context, front::TtsExpression& value,
                   const front::TtsExpressions* arguments);
    void ToLower(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void ToLowerCamelCase(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments);
    void ToNumber(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void ToUpper(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void ToUpperCamelCase(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments);
    void Trim(runtime::TtsResult& context, front::TtsExpression& value,
            const front::TtsExpressions* arguments);
    void TrimEnd(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void TrimStart(runtime::TtsResult& context, front::TtsExpression& value,
                 const front::TtsExpressions* arguments);
};

}  // namespace ozra::libs
