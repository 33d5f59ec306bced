// The tree builder's operations: spans, node construction, and the pairing
// of control heads with the statements that close them.
#include "front/tree_builder.h"

#include "front/operator_codes.h"
#include "value/errors.h"
#include "value/names.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <utility>

namespace ozra::front {

namespace {

using value::MakeRef;
using value::TtsValue;

constexpr std::string_view kBraceKeyword = "{";

ParseValue SpanOf(const ParseValue& symbol) {
    ParseValue result;
    result.Position = symbol.Position;
    result.Length = symbol.Length;
    return result;
}

ParseValue SpanOf(const ParseValue& first, const ParseValue& last) {
    ParseValue result;
    result.Position = first.Position;
    result.Length = last.Position + last.Length - first.Position;
    return result;
}

// Moves the node of a symbol out as a T. The grammar guarantees the class;
// a mismatch is a fault of the parser and is raised as such.
template <class T> Ref<T> Take(ParseValue& value) {
    if (!NodeCast<T>(value.Node.Get()))
        throw std::logic_error("tree builder: a grammar symbol carries the wrong node");
    return Ref<T>::Adopt(static_cast<T*>(value.Node.Detach()));
}

TtsExpressions TakeList(ParseValue& value) {
    TtsExpressions list;
    for (auto& item : value.Items)
        list.Add(std::move(item));
    value.Items.clear();
    return list;
}

std::unique_ptr<value::TtsParameters> TakeParameters(ParseValue& value) {
    if (value.Items.empty()) return nullptr;
    auto table = std::make_unique<value::TtsParameters>();
    for (auto& parameter : value.Items) {
        const std::string name = parameter->Name;
        table->Add(name, std::move(parameter));
    }
    value.Items.clear();
    return table;
}

bool StartsWithElse(const std::string& name) {
    return name.rfind("else", 0) == 0;
}

bool IsTrueText(const std::string& text) {
    return !text.empty() && text[0] == 't';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return value::NamesEqual(a, b);
}

} // namespace

TtsBuilder::TtsBuilder(ParserCallbacks& owner, Ref<TtsBlock> root)
    : owner_(owner), root_(root ? std::move(root) : MakeRef<TtsBlock>(nullptr)),
      current_(root_.Get()) {}

// --- procedures --------------------------------------------------------------

TtsBlock& TtsBuilder::CurrentBlock() const {
    if (auto* block = NodeCast<TtsBlock>(current_)) return *block;
    throw std::logic_error("tree builder: the current node is not a block");
}

TtsNode* TtsBuilder::Enclosing() const {
    return current_ && current_ != root_.Get() ? current_->Parent : nullptr;
}

void TtsBuilder::Report(const ParseValue& span, const std::string& message) {
    if (owner_.OnError) owner_.OnError(span.Position, span.Length, message);
}

void TtsBuilder::AddStatement(Ref<TtsStatement> node, const ParseValue& span) {
    TtsStatement& statement = *node;
    CurrentBlock().Statements.Add(std::move(node));
    statement.Position = span.Position;
    statement.Length = span.Length;
    if (owner_.OnNode) owner_.OnNode(statement);
}

void TtsBuilder::OpenControl(Ref<TtsControl> control, std::string_view keyword,
                             const ParseValue& span) {
    TtsControl& node = *control;
    CurrentBlock().Statements.Add(std::move(control));
    node.Name = keyword;
    current_ = node.Body.Get();
    node.Position = span.Position;
    node.Length = span.Length;
    if (owner_.OnNode) owner_.OnNode(node);
}

TtsNode* TtsBuilder::ChainStart(const ParseValue& span) {
    TtsNode* previous = current_;
    if (auto* logic = NodeCast<TtsLogicNode>(Enclosing())) {
        current_ = logic;
    } else {
        Report(span, "if or case not found.");
    }
    return previous;
}

void TtsBuilder::ChainEnd(Ref<TtsLogicNode> branch, std::string_view keyword, TtsNode* previous,
                          const ParseValue& span) {
    auto* logic = NodeCast<TtsLogicNode>(current_);
    if (!logic) return;
    TtsLogicNode& node = *branch;
    if (logic->ElseBranch) {
        Report(span, "else already exists.");
        auto* elseBlock = NodeCast<TtsBlock>(logic->ElseBranch.Get());
        if (!elseBlock) {
            // Only an "else" block can follow; keep building where we were.
            current_ = previous;
            return;
        }
        elseBlock->Statements.Add(std::move(branch));
    } else {
        logic->ElseBranch = std::move(branch);
    }
    node.Name = keyword;
    current_ = node.Body.Get();
    node.Position = span.Position;
    node.Length = span.Length;
    if (owner_.OnNode) owner_.OnNode(node);
}

void TtsBuilder::NotifyEnd(TtsControl& control) {
    if (owner_.OnNodeEnd) owner_.OnNodeEnd(control);
}

// Closes a control. A chain link ("elseif", "elsecase") can only be closed
// here by "}", and then its whole chain closes with it, back to the head.
void TtsBuilder::Close(TtsControl& control, const ParseValue& span) {
    for (TtsControl* node = &control;;) {
        node->EndPosition = span.Position;
        node->EndLength = span.Length;
        NotifyEnd(*node);
        current_ = node->Parent;
        if (!StartsWithElse(node->Name)) return;
        node = NodeCast<TtsLogicNode>(node->Parent);
        if (!node) return;
    }
}

// Pairs a closing statement ("end keyword", "}", or none at the end of the
// text) with the innermost open control, reporting the controls it skips.
void TtsBuilder::CloseStructure(const std::string* keyword, const ParseValue& span) {
    for (;;) {
        if (!current_ || current_ == root_->Parent) current_ = root_.Get();
        if (current_ == root_.Get()) {
            if (keyword) Report(span, *keyword + " not found.");
            return;
        }
        auto* control = NodeCast<TtsControl>(current_->Parent);
        if (!control) throw std::logic_error("tree builder: an open block has no control");
        TtsNode* holder = control->Parent;
        if (holder && holder->Tag == 1) {
            holder->Tag = 0;
            if (!keyword || *keyword != kBraceKeyword) Report(span, "} not found.");
            Close(*control, span);
            return;
        }
        if (keyword && *keyword == control->Name) {
            Close(*control, span);
            return;
        }
        if (StartsWithElse(control->Name)) {
            control->EndPosition = span.Position;
            control->EndLength = span.Length;
            NotifyEnd(*control);
            current_ = control;
            continue;
        }
        Report(span, control->Name + " not end.");
        NotifyEnd(*control);
        current_ = holder;
    }
}

// --- statements and heads ------------------------------------------------------

ParseValue TtsBuilder::AssignHead(ParseValue& first, ParseValue& last, ParseValue& variable) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsAssignNode>(arena_, current_);
    node->Target = Take<TtsVarRef>(variable);
    OpenControl(std::move(node), "assign", result);
    return result;
}

ParseValue TtsBuilder::OpenBrace(ParseValue& brace) {
    ParseValue result = SpanOf(brace);
    auto* control = NodeCast<TtsControl>(Enclosing());
    TtsNode* holder = control ? control->Parent : nullptr;
    if (holder && holder->Tag != 1) {
        holder->Tag = 1;
    } else {
        Report(result, "block not found.");
    }
    return result;
}

ParseValue TtsBuilder::CallStatement(ParseValue& first, ParseValue& last, ParseValue& call) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsCall>(arena_, current_);
    node->Expression = Take<TtsExpression>(call);
    AddStatement(std::move(node), result);
    return result;
}

Ref<TtsCaseNode> TtsBuilder::MakeCase(ParseValue& selector, ParseValue& op, ParseValue& arguments) {
    auto values = MakeNode<TtsSet>(arena_, current_);
    values->SetUp(TakeList(arguments));
    auto node = MakeNode<TtsCaseNode>(arena_, current_);
    node->Selector = Take<TtsExpression>(selector);
    node->CaseValues = std::move(values);
    node->CaseOperator = OperatorCode(op.Text);
    return node;
}

ParseValue TtsBuilder::CaseHead(ParseValue& first, ParseValue& last, ParseValue& selector,
                                ParseValue& op, ParseValue& arguments) {
    ParseValue result = SpanOf(first, last);
    OpenControl(MakeCase(selector, op, arguments), "case", result);
    return result;
}

ParseValue TtsBuilder::ElseCaseHead(ParseValue& first, ParseValue& last, ParseValue& selector,
                                    ParseValue& op, ParseValue& arguments) {
    ParseValue result = SpanOf(first, last);
    TtsNode* previous = ChainStart(result);
    ChainEnd(MakeCase(selector, op, arguments), "elsecase", previous, result);
    return result;
}

ParseValue TtsBuilder::ClassHeadWithBase(ParseValue& first, ParseValue& last, ParseValue& name,
                                         Ref<TtsVarRef> base, ParseValue& parameters) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsClassNode>(arena_, current_);
    TtsClassNode& classNode = *node;
    OpenControl(std::move(node), "class", result);
    try {
        classNode.Define(name.Text, TakeParameters(parameters), std::move(base));
    } catch (const value::EtsException& error) {
        Report(result, error.what());
    }
    return result;
}

ParseValue TtsBuilder::ClassHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                 ParseValue& parameters) {
    return ClassHeadWithBase(first, last, name, nullptr, parameters);
}

ParseValue TtsBuilder::DerivedClassHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                        ParseValue& base, ParseValue& parameters) {
    return ClassHeadWithBase(first, last, name, Take<TtsVarRef>(base), parameters);
}

ParseValue TtsBuilder::ElseClause(ParseValue& keyword) {
    ParseValue result = SpanOf(keyword);
    auto* logic = NodeCast<TtsLogicNode>(Enclosing());
    if (!logic) {
        Report(result, "if or case not found.");
    } else if (logic->ElseBranch) {
        Report(result, "else already exists.");
    } else {
        auto block = MakeNode<TtsBlock>(arena_, logic);
        current_ = block.Get();
        logic->ElseBranch = std::move(block);
    }
    return result;
}

ParseValue TtsBuilder::ElseIfHead(ParseValue& first, ParseValue& last, ParseValue& condition) {
    ParseValue result = SpanOf(first, last);
    TtsNode* previous = ChainStart(result);
    auto node = MakeNode<TtsIfNode>(arena_, current_);
    node->Condition = Take<TtsExpression>(condition);
    ChainEnd(std::move(node), "elseif", previous, result);
    return result;
}

ParseValue TtsBuilder::CloseBrace(ParseValue& brace) {
    ParseValue result = SpanOf(brace);
    const std::string keyword(kBraceKeyword);
    CloseStructure(&keyword, result);
    return result;
}

ParseValue TtsBuilder::EndBlock(ParseValue& first, ParseValue& last, ParseValue& keyword) {
    ParseValue result = SpanOf(first, last);
    const std::string text = keyword.Text;
    CloseStructure(&text, result);
    return result;
}

ParseValue TtsBuilder::SyntaxErrorStatement(ParseValue& error, const ParseValue* semi,
                                            const std::string& message) {
    ParseValue result = SpanOf(error);
    if (semi) result.Length = semi->Position - error.Position;
    Report(result, message);
    return result;
}

ParseValue TtsBuilder::ExceptClause(ParseValue& keyword) {
    ParseValue result = SpanOf(keyword);
    auto* tryNode = NodeCast<TtsTryNode>(Enclosing());
    if (!tryNode) {
        Report(result, "try not found.");
    } else if (tryNode->ExceptBlock) {
        Report(result, "except already exists.");
    } else {
        current_ = &tryNode->AttachExcept();
    }
    return result;
}

ParseValue TtsBuilder::FinallyClause(ParseValue& keyword) {
    ParseValue result = SpanOf(keyword);
    auto* tryNode = NodeCast<TtsTryNode>(Enclosing());
    if (!tryNode) {
        Report(result, "try not found.");
    } else if (tryNode->FinallyBlock) {
        Report(result, "finally already exists.");
    } else {
        current_ = &tryNode->AttachFinally();
    }
    return result;
}

ParseValue TtsBuilder::ExitStatement(ParseValue& first, ParseValue& last, ParseValue& keyword) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsExit>(arena_, current_);
    node->Name = keyword.Text;
    AddStatement(std::move(node), result);
    return result;
}

ParseValue TtsBuilder::SkipStatement(ParseValue& first, ParseValue& last, ParseValue& keyword) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsSkip>(arena_, current_);
    node->Name = keyword.Text;
    AddStatement(std::move(node), result);
    return result;
}

// A plain file block: the named file is compiled into its body now.
ParseValue TtsBuilder::FileHeadOf(const ParseValue& span, const std::string& fileName,
                                  bool overwrite) {
    auto node = MakeNode<TtsFileNode>(arena_, current_);
    try {
        node->SetUp(fileName, overwrite, owner_.OnLoadFile);
    } catch (const IncludeRefused& refused) {
        Report(span, refused.what());
    }
    OpenControl(std::move(node), "file", span);
    return span;
}

Ref<TtsBlock> TtsBuilder::LoadUnit(const ParseValue& span, const std::string& fileName) {
    try {
        return LoadUsedFile(fileName, owner_.OnLoadFile);
    } catch (const IncludeRefused& refused) {
        Report(span, refused.what());
        return nullptr;
    }
}

// The older forms chosen by the option value (letter case ignored).
ParseValue TtsBuilder::OldFileHead(const ParseValue& span, const std::string& fileName,
                                   std::string_view option, bool overwrite) {
    if (EqualsIgnoringCase(option, "using")) {
        auto node = MakeNode<TtsOldUsing>(arena_, current_);
        TtsOldUsing& oldUsing = *node;
        OpenControl(std::move(node), "file", span);
        Ref<TtsBlock> used = LoadUnit(span, fileName);
        try {
            oldUsing.SetUp(fileName, std::move(used));
        } catch (const value::EtsException& error) {
            Report(span, error.what());
        }
        return span;
    }
    if (EqualsIgnoringCase(option, "copy")) {
        auto node = MakeNode<TtsOldCopy>(arena_, current_);
        node->SetUp(fileName, overwrite);
        OpenControl(std::move(node), "file", span);
        return span;
    }
    if (EqualsIgnoringCase(option, "execute")) {
        auto node = MakeNode<TtsOldExecute>(arena_, current_);
        node->SetUp(fileName, overwrite);
        OpenControl(std::move(node), "file", span);
        return span;
    }
    return FileHeadOf(span, fileName, overwrite);
}

ParseValue TtsBuilder::FileHead(ParseValue& first, ParseValue& last, ParseValue& fileName) {
    return FileHeadOf(SpanOf(first, last), fileName.Text, false);
}

ParseValue TtsBuilder::FileHeadWithFlag(ParseValue& first, ParseValue& last, ParseValue& fileName,
                                        ParseValue& flag) {
    return FileHeadOf(SpanOf(first, last), fileName.Text, IsTrueText(flag.Text));
}

ParseValue TtsBuilder::FileHeadWithOption(ParseValue& first, ParseValue& last, ParseValue& fileName,
                                          ParseValue& option) {
    const ParseValue span = SpanOf(first, last);
    if (option.Text == "true" || option.Text == "false")
        return FileHeadOf(span, fileName.Text, IsTrueText(option.Text));
    return OldFileHead(span, fileName.Text, option.Text, false);
}

ParseValue TtsBuilder::FileHeadWithOptionAndFlag(ParseValue& first, ParseValue& last,
                                                 ParseValue& fileName, ParseValue& option,
                                                 ParseValue& flag) {
    return OldFileHead(SpanOf(first, last), fileName.Text, option.Text, IsTrueText(flag.Text));
}

ParseValue TtsBuilder::ForHead(ParseValue& first, ParseValue& last, ParseValue& name,
                               ParseValue& start, ParseValue& end) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsForNode>(arena_, current_);
    node->SetUp(name.Text, Take<TtsExpression>(start), nullptr, Take<TtsExpression>(end));
    OpenControl(std::move(node), "for", result);
    return result;
}

ParseValue TtsBuilder::ForStepHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                   ParseValue& start, ParseValue& end, ParseValue& step) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsForNode>(arena_, current_);
    node->SetUp(name.Text, Take<TtsExpression>(start), Take<TtsExpression>(step),
                Take<TtsExpression>(end));
    OpenControl(std::move(node), "for", result);
    return result;
}

ParseValue TtsBuilder::ForeachHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                   ParseValue& collection) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsForeachNode>(arena_, current_);
    node->SetUp(name.Text, Take<TtsExpression>(collection), nullptr);
    OpenControl(std::move(node), "foreach", result);
    return result;
}

ParseValue TtsBuilder::ForeachFilterHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                         ParseValue& collection, ParseValue& filter) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsForeachNode>(arena_, current_);
    node->SetUp(name.Text, Take<TtsExpression>(collection), Take<TtsExpression>(filter));
    OpenControl(std::move(node), "foreach", result);
    return result;
}

ParseValue TtsBuilder::FunctionHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                    ParseValue& parameters) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsFunctionNode>(arena_, current_);
    TtsFunctionNode& function = *node;
    OpenControl(std::move(node), "function", result);
    try {
        function.Define(name.Text, TakeParameters(parameters), nullptr);
    } catch (const value::EtsException& error) {
        Report(result, error.what());
    }
    return result;
}

ParseValue TtsBuilder::IfHead(ParseValue& first, ParseValue& last, ParseValue& condition) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsIfNode>(arena_, current_);
    node->Condition = Take<TtsExpression>(condition);
    OpenControl(std::move(node), "if", result);
    return result;
}

ParseValue TtsBuilder::LoopHead(ParseValue& keyword) {
    ParseValue result = SpanOf(keyword);
    OpenControl(MakeNode<TtsLoopNode>(arena_, current_), "loop", result);
    return result;
}

ParseValue TtsBuilder::LoopUntilHead(ParseValue& first, ParseValue& last, ParseValue& condition) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsLoopNode>(arena_, current_);
    node->UntilCondition = Take<TtsExpression>(condition);
    OpenControl(std::move(node), "loop", result);
    return result;
}

ParseValue TtsBuilder::WhileHead(ParseValue& first, ParseValue& last, ParseValue& condition) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsLoopNode>(arena_, current_);
    node->WhileCondition = Take<TtsExpression>(condition);
    OpenControl(std::move(node), "while", result);
    return result;
}

ParseValue TtsBuilder::TryHead(ParseValue& keyword) {
    ParseValue result = SpanOf(keyword);
    OpenControl(MakeNode<TtsTryNode>(arena_, current_), "try", result);
    return result;
}

ParseValue TtsBuilder::OutputStatement(ParseValue& first, ParseValue& last, ParseValue& expression,
                                       bool newLine) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsOutput>(arena_, current_);
    node->Expression = Take<TtsExpression>(expression);
    node->NewLine = newLine;
    AddStatement(std::move(node), result);
    return result;
}

ParseValue TtsBuilder::RefStatement(ParseValue& first, ParseValue& last, ParseValue& name,
                                    ParseValue& target) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsRefDefine>(arena_, current_);
    TtsRefDefine& statement = *node;
    AddStatement(std::move(node), result);
    try {
        TtsNode* variable = statement.FindNode(target.Text, NodeKind::Variable);
        HoldingBlock(statement).Names.AddCounted(name.Text, variable);
    } catch (const value::EtsException& error) {
        Report(result, error.what());
    }
    return result;
}

ParseValue TtsBuilder::IncDecStatement(ParseValue& first, ParseValue& last, ParseValue& variable,
                                       ParseValue& op) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsAssign>(arena_, current_);
    node->InitTarget(Take<TtsVarRef>(variable), AssignCode(op.Text), nullptr);
    AddStatement(std::move(node), result);
    return result;
}

ParseValue TtsBuilder::AssignStatement(ParseValue& first, ParseValue& last, ParseValue& variable,
                                       ParseValue& op, ParseValue& value) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsAssign>(arena_, current_);
    node->InitTarget(Take<TtsVarRef>(variable), AssignCode(op.Text), Take<TtsExpression>(value));
    AddStatement(std::move(node), result);
    return result;
}

ParseValue TtsBuilder::UsingWith(ParseValue& first, ParseValue& last, const std::string& fileName,
                                 const std::string& alias) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsUsing>(arena_, current_);
    TtsUsing& statement = *node;
    AddStatement(std::move(node), result);
    Ref<TtsBlock> used = LoadUnit(result, fileName);
    try {
        statement.Attach(std::move(used), fileName, alias);
    } catch (const value::EtsException& error) {
        Report(result, error.what());
    }
    return result;
}

ParseValue TtsBuilder::UsingStatement(ParseValue& first, ParseValue& last, ParseValue& fileName) {
    return UsingWith(first, last, fileName.Text, std::string());
}

ParseValue TtsBuilder::UsingAliasStatement(ParseValue& first, ParseValue& last,
                                           ParseValue& fileName, ParseValue& alias) {
    return UsingWith(first, last, fileName.Text, alias.Text);
}

ParseValue TtsBuilder::VarStatement(ParseValue& first, ParseValue& last, ParseValue& name) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsVarDefine>(arena_, current_);
    TtsVarDefine& statement = *node;
    AddStatement(std::move(node), result);
    try {
        statement.InitNamed(name.Text, 0, nullptr);
    } catch (const value::EtsException& error) {
        Report(result, error.what());
    }
    return result;
}

ParseValue TtsBuilder::VarInitStatement(ParseValue& first, ParseValue& last, ParseValue& name,
                                        ParseValue& op, ParseValue& value) {
    ParseValue result = SpanOf(first, last);
    Ref<TtsExpression> initial = Take<TtsExpression>(value);
    auto node = MakeNode<TtsVarDefine>(arena_, current_);
    TtsVarDefine& statement = *node;
    AddStatement(std::move(node), result);
    try {
        statement.InitNamed(name.Text, AssignCode(op.Text), std::move(initial));
    } catch (const value::EtsException& error) {
        Report(result, error.what());
    }
    return result;
}

void TtsBuilder::AddText(std::int32_t position, std::int32_t length, std::string_view text) {
    auto node = MakeNode<TtsText>(arena_, current_);
    node->Text = text;
    ParseValue span;
    span.Position = position;
    span.Length = length;
    AddStatement(std::move(node), span);
}

// --- expressions ---------------------------------------------------------------

ParseValue TtsBuilder::Constant(const ParseValue& span, const TtsValue& value) {
    ParseValue result = SpanOf(span);
    auto node = MakeNode<TtsConst>(arena_, current_);
    node->SetValue(value);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::BoolConst(ParseValue& token) {
    return Constant(token, TtsValue::FromBoolean(IsTrueText(token.Text)));
}

ParseValue TtsBuilder::NilConst(ParseValue& token) {
    return Constant(token, TtsValue());
}

// The magnitude is read in 64 bits and negated before the range check, so
// that -2147483648 is exact. A literal out of range is reported and built
// as the null literal.
ParseValue TtsBuilder::IntegerConst(const ParseValue& span, std::string_view digits,
                                    bool negative) {
    std::int64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        Report(span, "integer constant out of range.");
        return Constant(span, TtsValue());
    }
    return Constant(span, TtsValue::FromInt32(static_cast<std::int32_t>(value)));
}

ParseValue TtsBuilder::IntConst(ParseValue& token) {
    return IntegerConst(SpanOf(token), token.Text, false);
}

ParseValue TtsBuilder::NegativeIntConst(ParseValue& minus, ParseValue& number) {
    return IntegerConst(SpanOf(minus, number), number.Text, true);
}

ParseValue TtsBuilder::RealConst(const ParseValue& span, std::string_view digits, bool negative) {
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::fixed);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        Report(span, "floating-point constant out of range.");
        return Constant(span, TtsValue());
    }
    return Constant(span, TtsValue::FromDouble(negative ? -value : value));
}

ParseValue TtsBuilder::FloatConst(ParseValue& token) {
    return RealConst(SpanOf(token), token.Text, false);
}

ParseValue TtsBuilder::NegativeFloatConst(ParseValue& minus, ParseValue& number) {
    return RealConst(SpanOf(minus, number), number.Text, true);
}

// Each digit shifts the value four bits left; bits beyond 32 drop out, and
// the 32 bits are read as a signed integer ("$FFFFFFFF" is -1).
ParseValue TtsBuilder::HexConst(ParseValue& token) {
    std::string_view digits = token.Text;
    if (digits.starts_with('$')) {
        digits.remove_prefix(1);
    } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
    }
    std::uint32_t bits = 0;
    for (char c : digits) {
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        }
        bits = (bits << 4) | digit;
    }
    return Constant(token, TtsValue::FromInt32(static_cast<std::int32_t>(bits)));
}

ParseValue TtsBuilder::StringConst(ParseValue& token) {
    return Constant(token, TtsValue::FromText(token.Text));
}

ParseValue TtsBuilder::NameRef(ParseValue& token) {
    ParseValue result = SpanOf(token);
    auto node = MakeNode<TtsVarRef>(arena_, current_);
    node->SetName(token.Text);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::DottedRef(ParseValue& token) {
    ParseValue result = SpanOf(token);
    auto node = MakeNode<TtsPropRef>(arena_, current_);
    node->SetName(token.Text);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::MemberAccess(ParseValue& primary, ParseValue& name) {
    ParseValue result = SpanOf(primary, name);
    Ref<TtsVarRef> member = Take<TtsVarRef>(name);
    member->MakePropRef(Take<TtsExpression>(primary));
    result.Node = std::move(member);
    return result;
}

ParseValue TtsBuilder::Parenthesized(ParseValue& first, ParseValue& last, ParseValue& expression) {
    ParseValue result = SpanOf(first, last);
    result.Node = std::move(expression.Node);
    return result;
}

ParseValue TtsBuilder::UnaryOperator(ParseValue& op, ParseValue& operand) {
    ParseValue result = SpanOf(op, operand);
    auto node = MakeNode<TtsNaryOperator>(arena_, current_);
    node->OperatorCode = OperatorCode(op.Text);
    node->Operand = Take<TtsExpression>(operand);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::BinaryOperator(ParseValue& left, ParseValue& op, ParseValue& right) {
    ParseValue result = SpanOf(left, right);
    auto node = MakeNode<TtsDualOperator>(arena_, current_);
    node->Left = Take<TtsExpression>(left);
    node->Right = Take<TtsExpression>(right);
    node->OperatorCode = OperatorCode(op.Text);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::FunctionCall(ParseValue& first, ParseValue& last, ParseValue& callee,
                                    ParseValue& arguments) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsFunctionExpr>(arena_, current_);
    node->Callee = Take<TtsVarRef>(callee);
    const TtsVarRef& name = *node->Callee;
    if (owner_.OnCall && name.Kind == NodeKind::VarRef && !name.PropRef)
        owner_.OnCall(*node->Callee, first.Position);
    node->SetArguments(TakeList(arguments));
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::FirstArgument(ParseValue& argument) {
    ParseValue result = SpanOf(argument);
    result.Items.push_back(Take<TtsExpression>(argument));
    return result;
}

ParseValue TtsBuilder::NextArgument(ParseValue& list, ParseValue& argument) {
    ParseValue result = SpanOf(list, argument);
    result.Items = std::move(list.Items);
    list.Items.clear();
    result.Items.push_back(Take<TtsExpression>(argument));
    return result;
}

ParseValue TtsBuilder::NamedArgument(ParseValue& name, ParseValue& expression) {
    ParseValue result = SpanOf(name, expression);
    Ref<TtsExpression> argument = Take<TtsExpression>(expression);
    argument->Name = name.Text;
    result.Node = std::move(argument);
    return result;
}

// The variable node itself becomes the argument, so the call can share its
// slot; an unknown name is reported and passed as a plain reference.
ParseValue TtsBuilder::RefArgument(ParseValue& first, ParseValue& name) {
    ParseValue result = SpanOf(first, name);
    try {
        result.Node = Ref<TtsNode>::Retain(current_->FindNode(name.Text, NodeKind::Variable));
    } catch (const value::EtsException& error) {
        auto reference = MakeNode<TtsVarRef>(arena_, current_);
        reference->SetName(name.Text);
        result.Node = std::move(reference);
        Report(result, error.what());
    }
    return result;
}

Ref<TtsExpression> TtsBuilder::FormalParameter(const std::string& name) {
    auto parameter = MakeNode<TtsFsVariable>(arena_, current_);
    parameter->Name = name;
    parameter->Tag = ParamMode::Parameter;
    return parameter;
}

ParseValue TtsBuilder::FirstParameter(ParseValue& name) {
    ParseValue result = SpanOf(name);
    result.Items.push_back(FormalParameter(name.Text));
    return result;
}

ParseValue TtsBuilder::NextParameter(ParseValue& list, ParseValue& name) {
    for (const auto& parameter : list.Items) {
        if (value::NamesEqual(parameter->Name, name.Text))
            throw value::EtsException::AlreadyExists(name.Text);
    }
    ParseValue result = SpanOf(list, name);
    result.Items = std::move(list.Items);
    list.Items.clear();
    result.Items.push_back(FormalParameter(name.Text));
    return result;
}

ParseValue TtsBuilder::FirstRange(ParseValue& range) {
    return FirstArgument(range);
}

ParseValue TtsBuilder::NextRange(ParseValue& list, ParseValue& range) {
    return NextArgument(list, range);
}

ParseValue TtsBuilder::RangeExpr(ParseValue& start, ParseValue& end) {
    ParseValue result = SpanOf(start, end);
    auto node = MakeNode<TtsRangeExpr>(arena_, current_);
    node->RangeStart = Take<TtsExpression>(start);
    node->RangeEnd = Take<TtsExpression>(end);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::ListLiteral(ParseValue& first, ParseValue& last, ParseValue& arguments) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsSet>(arena_, current_);
    node->SetUp(TakeList(arguments));
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::FilterExpr(ParseValue& first, ParseValue& last, ParseValue& name,
                                  ParseValue& source, ParseValue& condition) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsFilterExpr>(arena_, current_);
    node->ItemName = name.Text;
    node->ItemVariable = CreateVariable(*node, name.Text, false);
    node->Source = Take<TtsExpression>(source);
    node->Condition = Take<TtsExpression>(condition);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::IndexExpr(ParseValue& first, ParseValue& last, ParseValue& target,
                                 ParseValue& index) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsIndexExpr>(arena_, current_);
    node->Target = Take<TtsExpression>(target);
    node->Index = Take<TtsExpression>(index);
    result.Node = std::move(node);
    return result;
}

ParseValue TtsBuilder::SubSetExpr(ParseValue& first, ParseValue& last, ParseValue& source,
                                  ParseValue& ranges) {
    ParseValue result = SpanOf(first, last);
    auto node = MakeNode<TtsSubSetExpr>(arena_, current_);
    node->Source = Take<TtsExpression>(source);
    node->Ranges = TakeList(ranges);
    result.Node = std::move(node);
    return result;
}

void TtsBuilder::Finish(std::int32_t textLength) {
    ParseValue end;
    end.Position = textLength - 2;
    end.Length = 1;
    while (current_ && current_ != root_.Get())
        CloseStructure(nullptr, end);
}

} // namespace ozra::front
