// Drives the tree builder from short step scripts, as the parser would, and
// records what the builder reports through the parser callbacks.
//
// A step is a line of words; step i (0-based) is given the source span
// position 10 * (i + 1), length 5, so reports can be checked by position:
//   if c | elseif c | else | case c | elsecase c | for i | foreach x
//   while c | loop | until c | try | except | finally | assign v
//   function f [params...] | class C [params...] | class C:Base [params...]
//   file name | end kw | { | } | var x | ref r y | set x (x = 1)
//   callref f y (f(ref y)) | exit kw | skip kw | using file [alias]
//   text words... | error
#pragma once

#include "front/tree_builder.h"
#include "front/tree_dump.h"

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ozra::front::testing {

class BuilderDriver {
  public:
    explicit BuilderDriver(Ref<TtsBlock> root = nullptr) : builder_(Callbacks(), std::move(root)) {}

    TtsBuilder& Builder() { return builder_; }
    ParserCallbacks& Owner() { return callbacks_; }
    const std::vector<std::string>& Log() const { return log_; }
    std::vector<std::string> Errors() const {
        std::vector<std::string> errors;
        for (const auto& line : log_) {
            if (line.rfind("error", 0) == 0) errors.push_back(line);
        }
        return errors;
    }
    std::string Dump() const { return DumpTree(*builder_.Root()); }

    void Run(const std::vector<std::string>& steps) {
        for (const auto& step : steps)
            Step(step);
    }

    static ParseValue Token(std::int32_t position, std::int32_t length, std::string text) {
        ParseValue value;
        value.Position = position;
        value.Length = length;
        value.Text = std::move(text);
        return value;
    }

    ParseValue Name(const std::string& name) {
        ParseValue token = Token(position_, 1, name);
        return builder_.NameRef(token);
    }

    void Step(const std::string& step) {
        position_ += 10;
        std::istringstream words(step);
        std::string verb;
        words >> verb;
        std::vector<std::string> args;
        for (std::string word; words >> word;)
            args.push_back(word);
        ParseValue kw = Token(position_, 5, verb);
        TtsBuilder& b = builder_;
        if (verb == "if") {
            auto c = Name(args.at(0));
            b.IfHead(kw, kw, c);
        } else if (verb == "elseif") {
            auto c = Name(args.at(0));
            b.ElseIfHead(kw, kw, c);
        } else if (verb == "else") {
            b.ElseClause(kw);
        } else if (verb == "case" || verb == "elsecase") {
            auto selector = Name(args.at(0));
            auto op = Token(position_, 1, "=");
            auto one = Token(position_, 1, "1");
            auto value = b.IntConst(one);
            auto list = b.FirstArgument(value);
            if (verb == "case") {
                b.CaseHead(kw, kw, selector, op, list);
            } else {
                b.ElseCaseHead(kw, kw, selector, op, list);
            }
        } else if (verb == "for") {
            auto name = Token(position_, 1, args.at(0));
            auto t1 = Token(position_, 1, "1");
            auto t3 = Token(position_, 1, "3");
            auto start = b.IntConst(t1);
            auto end = b.IntConst(t3);
            b.ForHead(kw, kw, name, start, end);
        } else if (verb == "foreach") {
            auto name = Token(position_, 1, args.at(0));
            auto items = Name("items");
            b.ForeachHead(kw, kw, name, items);
        } else if (verb == "while") {
            auto c = Name(args.at(0));
            b.WhileHead(kw, kw, c);
        } else if (verb == "loop") {
            b.LoopHead(kw);
        } else if (verb == "until") {
            auto c = Name(args.at(0));
            b.LoopUntilHead(kw, kw, c);
        } else if (verb == "try") {
            b.TryHead(kw);
        } else if (verb == "except") {
            b.ExceptClause(kw);
        } else if (verb == "finally") {
            b.FinallyClause(kw);
        } else if (verb == "assign") {
            auto v = Name(args.at(0));
            b.AssignHead(kw, kw, v);
        } else if (verb == "function" || verb == "class") {
            std::string name = args.at(0);
            std::string base;
            if (auto colon = name.find(':'); colon != std::string::npos) {
                base = name.substr(colon + 1);
                name.resize(colon);
            }
            auto nameToken = Token(position_, 1, name);
            ParseValue parameters;
            for (std::size_t i = 1; i < args.size(); ++i) {
                auto p = Token(position_, 1, args[i]);
                parameters = i == 1 ? b.FirstParameter(p) : b.NextParameter(parameters, p);
            }
            if (verb == "function") {
                b.FunctionHead(kw, kw, nameToken, parameters);
            } else if (base.empty()) {
                b.ClassHead(kw, kw, nameToken, parameters);
            } else {
                auto baseName = Name(base);
                b.DerivedClassHead(kw, kw, nameToken, baseName, parameters);
            }
        } else if (verb == "file") {
            auto file = Token(position_, 1, args.at(0));
            b.FileHead(kw, kw, file);
        } else if (verb == "end") {
            auto keyword = Token(position_ + 4, 1, args.at(0));
            b.EndBlock(kw, keyword, keyword);
        } else if (verb == "{") {
            b.OpenBrace(kw);
        } else if (verb == "}") {
            b.CloseBrace(kw);
        } else if (verb == "var") {
            auto name = Token(position_, 1, args.at(0));
            b.VarStatement(kw, kw, name);
        } else if (verb == "ref") {
            auto name = Token(position_, 1, args.at(0));
            auto target = Token(position_, 1, args.at(1));
            b.RefStatement(kw, kw, name, target);
        } else if (verb == "set") {
            auto target = Name(args.at(0));
            auto op = Token(position_, 1, "=");
            auto one = Token(position_, 1, "1");
            auto value = b.IntConst(one);
            b.AssignStatement(kw, kw, target, op, value);
        } else if (verb == "callref") {
            auto callee = Name(args.at(0));
            auto refKeyword = Token(position_, 3, "ref");
            auto name = Token(position_ + 4, 1, args.at(1));
            auto argument = b.RefArgument(refKeyword, name);
            auto list = b.FirstArgument(argument);
            auto call = b.FunctionCall(callee, kw, callee, list);
            b.CallStatement(kw, kw, call);
        } else if (verb == "exit" || verb == "skip") {
            auto keyword = Token(position_, 1, args.at(0));
            if (verb == "exit") {
                b.ExitStatement(kw, kw, keyword);
            } else {
                b.SkipStatement(kw, kw, keyword);
            }
        } else if (verb == "using") {
            auto file = Token(position_, 1, args.at(0));
            if (args.size() > 1) {
                auto alias = Token(position_, 1, args[1]);
                b.UsingAliasStatement(kw, kw, file, alias);
            } else {
                b.UsingStatement(kw, kw, file);
            }
        } else if (verb == "text") {
            b.AddText(position_, 5, step.substr(5));
        } else if (verb == "error") {
            b.SyntaxErrorStatement(kw, nullptr);
        } else {
            throw std::invalid_argument("unknown step: " + step);
        }
    }

  private:
    ParserCallbacks& Callbacks() {
        callbacks_.OnNode = [this](TtsStatement& node) {
            log_.push_back("node " + std::string(node.ClassName()) + " " + node.Name + "@" +
                           std::to_string(node.Position));
        };
        callbacks_.OnNodeEnd = [this](TtsControl& node) {
            log_.push_back("end " + node.Name + "@" + std::to_string(node.EndPosition));
        };
        callbacks_.OnError = [this](std::int32_t position, std::int32_t length,
                                    const std::string& message) {
            log_.push_back("error " + std::to_string(position) + "+" + std::to_string(length) +
                           " " + message);
        };
        return callbacks_;
    }

    ParserCallbacks callbacks_;
    std::vector<std::string> log_;
    std::int32_t position_ = 0;
    TtsBuilder builder_;
};

} // namespace ozra::front::testing
