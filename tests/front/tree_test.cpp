// The syntax tree model: the variables the tree makes and their classes,
// name lookup, value writes, used units and file heads, and the lifetime
// rules (shared nodes freed once, no reference cycles).
#include "builder_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ozra::front {
namespace {

using testing::BuilderDriver;
using Lines = std::vector<std::string>;

TtsVariable* FindVariable(BuilderDriver& driver, const std::string& name) {
    return NodeCast<TtsVariable>(driver.Builder().Current()->FindNode(name, NodeKind::Variable));
}

struct VariableCase {
    Lines steps;
    const char* name;
    NodeKind kind;
    const char* owner; // FunctionName of the owner, "" for none
    int mode;
};

TEST(Tree, VariableClassRule) {
    const std::vector<VariableCase> cases = {
        {{"var x"}, "x", NodeKind::GcVariable, "", 0},
        {{"function f", "var x"}, "x", NodeKind::FsVariable, "f", 0},
        {{"function f", "if a", "while c", "var x"}, "x", NodeKind::FsVariable, "f", 0},
        {{"class C", "var x"}, "x", NodeKind::GcVariable, "", 0},
        {{"class C", "function m", "var x"}, "x", NodeKind::FsVariable, "m", 0},
        {{"function f", "class C", "if a", "var x"}, "x", NodeKind::GcVariable, "", 0},
        {{"for i"}, "i", NodeKind::Variable, "", 0},
        {{"function f", "for i"}, "i", NodeKind::FsVariable, "f", 0},
        {{"class C", "foreach i"}, "i", NodeKind::Variable, "", 0},
        {{"function f"}, "result", NodeKind::FsVariable, "f", 1},
        {{"class C"}, "result", NodeKind::Variable, "", 1},
        {{"class C"}, "this", NodeKind::Variable, "", 1},
        {{"class C"}, "base", NodeKind::Variable, "", 1},
        {{"function f a"}, "a", NodeKind::FsVariable, "f", 1},
        {{"class C a"}, "a", NodeKind::FsVariable, "C", 1},
        {{"file f"}, "filename", NodeKind::Variable, "", 0},
        {{"function f", "file f"}, "target", NodeKind::FsVariable, "f", 0},
        {{"try", "except"}, "exception", NodeKind::Variable, "", 0},
        {{"function f", "try", "except"}, "exception", NodeKind::FsVariable, "f", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.steps) + " " + c.name);
        BuilderDriver driver;
        driver.Run(c.steps);
        EXPECT_EQ(driver.Errors(), Lines{});
        TtsVariable* variable = FindVariable(driver, c.name);
        ASSERT_NE(variable, nullptr);
        EXPECT_EQ(variable->Kind, c.kind);
        EXPECT_EQ(variable->Owner ? variable->Owner->FunctionName : "", c.owner);
        EXPECT_EQ(variable->Tag, c.mode);
        // The owner's activations give every variable it owns a slot.
        if (variable->Owner) {
            const auto& locals = variable->Owner->Locals;
            EXPECT_TRUE(std::any_of(locals.begin(), locals.end(),
                                    [&](const auto& local) { return local.Get() == variable; }));
        }
    }
}

TEST(Tree, FunctionAndClassBodies) {
    BuilderDriver driver;
    driver.Run({"function f a b", "end function", "class C:B x", "for i"});
    EXPECT_EQ(driver.Dump(), R"(TtsBlock names=[C:TtsClassNode, f:TtsFunctionNode]
  TtsFunctionNode kw=function f @10+5 end@20+5
    Param: TtsFsVariable a mode=1
    Param: TtsFsVariable b mode=1
    Body: TtsBlock names=[a:TtsFsVariable, b:TtsFsVariable, result:TtsFsVariable]
  TtsClassNode kw=class C @30+5
    Param: TtsFsVariable x mode=1
    Base: TtsVarRef B
    Body: TtsBlock names=[base:TtsVariable, result:TtsVariable, this:TtsVariable, x:TtsFsVariable]
      TtsForNode kw=for var=i @40+5
        Start: TtsConst 1
        End: TtsConst 3
        Body: TtsBlock names=[i:TtsVariable]
)");
    auto* function = NodeCast<TtsFunctionNode>(driver.Builder().Root()->Statements[0]);
    auto* classNode = NodeCast<TtsClassNode>(driver.Builder().Root()->Statements[1]);
    ASSERT_NE(function, nullptr);
    ASSERT_NE(classNode, nullptr);
    for (int i = 0; i < function->Parameters->Count(); ++i) {
        auto* parameter = NodeCast<TtsVariable>(function->Parameters->Item(i));
        EXPECT_EQ(parameter->Parent, function);
        EXPECT_EQ(parameter->Owner, function);
    }
    EXPECT_EQ(function->ResultVariable, function->Body->Names.Find("result"));
    for (TtsVariable* self : {classNode->ThisVariable, classNode->BaseVariable}) {
        ASSERT_NE(self, nullptr);
        EXPECT_EQ(self->Value().Object(), classNode);
        EXPECT_FALSE(value::TtsValueHelper::IsCounted(self->Value()));
    }
    // The block's statement list and its names hold the only references:
    // "this" and "base" do not keep their class alive.
    EXPECT_EQ(function->RefCount(), 2);
    EXPECT_EQ(classNode->RefCount(), 2);
}

TEST(Tree, DestroyingTheRootFreesSharedNodesOnce) {
    Ref<TtsFunctionNode> function;
    {
        BuilderDriver driver;
        driver.Run({"var y", "function f a", "ref r y", "callref f y", "end function"});
        EXPECT_EQ(driver.Errors(), Lines{});
        function = Ref<TtsFunctionNode>::Retain(
            NodeCast<TtsFunctionNode>(driver.Builder().Root()->Statements[1]));
        EXPECT_EQ(function->RefCount(), 3);
    }
    // The root and the builder, with the storage it made nodes in, are
    // gone; the function lives on through our reference alone, and y
    // through the function's "ref" entry and argument list.
    EXPECT_EQ(function->RefCount(), 1);
    value::TtsObject* y = function->Body->Names.Find("r");
    ASSERT_NE(y, nullptr);
    EXPECT_EQ(y->RefCount(), 2);
}

TEST(Tree, RefNamesShareTheVariable) {
    BuilderDriver driver;
    driver.Run({"var y", "if a", "ref r Y"});
    value::TtsObject* y = driver.Builder().Root()->Names.Find("y");
    EXPECT_EQ(driver.Builder().Current()->FindNode("R"), y);
    EXPECT_EQ(y->RefCount(), 2);
    EXPECT_EQ(DumpTree(*driver.Builder().Current()), R"(TtsBlock names=[r:TtsGcVariable]
  TtsRefDefine op=0 @30+5
)");
}

TEST(Tree, RefArgumentSurvivesItsArgumentList) {
    BuilderDriver driver;
    driver.Run({"var y", "callref f y"});
    auto* y = NodeCast<TtsVariable>(driver.Builder().Root()->Names.Find("y"));
    auto* call = NodeCast<TtsCall>(driver.Builder().Root()->Statements[1]);
    auto* expression = NodeCast<TtsFunctionExpr>(call->Expression.Get());
    ASSERT_EQ(expression->Arguments[0], y);
    EXPECT_EQ(y->RefCount(), 2);
    expression->Arguments.Clear();
    EXPECT_EQ(y->RefCount(), 1);
    y->SetValue(value::TtsValue::FromInt32(5));
    EXPECT_EQ(y->Value().Integer(), 5);
}

// --- name lookup ------------------------------------------------------------------

TEST(Tree, FindNodeErrorsNameTheRequiredClass) {
    BuilderDriver driver;
    driver.Run({"var v", "function f", "end function", "if a"});
    const TtsNode& from = *driver.Builder().Current();
    const std::vector<std::tuple<const char*, NodeKind, const char*>> cases = {
        {"q", NodeKind::Variable, "variable q not found."},
        {"q", NodeKind::FunctionNode, "function q not found."},
        {"q", NodeKind::ClassNode, "class q not found."},
        {"q", NodeKind::Block, "q not found or invalid."},
        {"f", NodeKind::Variable, "variable f not found."},
        {"v", NodeKind::FunctionNode, "function v not found."},
        {"f", NodeKind::ClassNode, "class f not found."},
    };
    for (const auto& [name, required, message] : cases) {
        try {
            from.FindNode(name, required);
            ADD_FAILURE() << name << " found";
        } catch (const value::EtsRuntime& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    EXPECT_EQ(from.FindNode("q"), nullptr);
    EXPECT_EQ(from.FindNode("V", NodeKind::Variable), driver.Builder().Root()->Names.Find("v"));
    EXPECT_EQ(from.FindNode("F", NodeKind::FunctionNode), driver.Builder().Root()->Statements[1]);
}

TEST(Tree, FindNodePrefersTheInnermostName) {
    BuilderDriver driver;
    driver.Run({"var x", "function f", "var x"});
    EXPECT_EQ(FindVariable(driver, "x")->Kind, NodeKind::FsVariable);
    driver.Run({"end function"});
    EXPECT_EQ(FindVariable(driver, "x")->Kind, NodeKind::GcVariable);
}

TEST(Tree, ClassesAnswerFromTheirBaseClasses) {
    BuilderDriver driver;
    driver.Run({"class A", "var inA", "end class", "class B:A", "if a"});
    const TtsBlock& root = *driver.Builder().Root();
    auto* a = NodeCast<TtsClassNode>(root.Statements[0]);
    auto* b = NodeCast<TtsClassNode>(root.Statements[1]);
    const TtsNode& inB = *driver.Builder().Current();
    EXPECT_THROW(inB.FindNode("inA", NodeKind::Variable), value::EtsRuntime);
    b->BaseClass = a;
    EXPECT_EQ(inB.FindNode("inA", NodeKind::Variable), a->Body->Names.Find("inA"));
    // A cycle among base classes ends the search instead of looping.
    a->BaseClass = b;
    EXPECT_EQ(inB.FindNode("nowhere"), nullptr);
}

TEST(Tree, LoopsAndFiltersAnswerTheirItemVariable) {
    BuilderDriver driver;
    driver.Run({"foreach item"});
    auto* foreach = NodeCast<TtsForeachNode>(driver.Builder().Current()->Parent);
    ASSERT_NE(foreach, nullptr);
    EXPECT_EQ(foreach->FindNode("ITEM", NodeKind::Variable), foreach->Variable);
    EXPECT_THROW(foreach->FindNode("item", NodeKind::FunctionNode), value::EtsRuntime);
    ASSERT_NE(foreach->Cursor, nullptr);

    auto filter = value::MakeRef<TtsFilterExpr>(driver.Builder().Root().Get());
    filter->ItemName = "v";
    EXPECT_EQ(filter->FindNode("v"), nullptr);
    filter->ItemVariable = CreateVariable(*filter, "v", false);
    EXPECT_EQ(filter->FindNode("V", NodeKind::Variable), filter->ItemVariable.Get());
}

// --- value writes -------------------------------------------------------------------

class Counted : public value::TtsObjectZero {};

TEST(Tree, GarbageCollectingVariablesOwnTheirObjects) {
    auto object = value::MakeRef<Counted>();
    auto plain = value::MakeRef<TtsVariable>(nullptr);
    auto gc = value::MakeRef<TtsGcVariable>(nullptr);
    plain->SetObject(object.Get());
    EXPECT_EQ(object->RefCount(), 1);
    gc->SetObject(object.Get());
    EXPECT_EQ(object->RefCount(), 2);
    EXPECT_TRUE(value::TtsValueHelper::IsCounted(gc->Value()));
    gc->AssignFrom(*gc);
    EXPECT_EQ(object->RefCount(), 2);
    gc->SetValue(value::TtsValue::FromInt32(1));
    EXPECT_EQ(object->RefCount(), 1);
    gc->SetObject(object.Get());
    plain->SetObject(nullptr);
    EXPECT_EQ(plain->Value().Kind(), value::ValueKind::Empty);
    gc.Reset();
    EXPECT_EQ(object->RefCount(), 1);
}

// --- used units and file heads ------------------------------------------------

// A unit holding a function, a variable and a nested block entry.
Ref<TtsBlock> MakeUnit() {
    BuilderDriver unit;
    unit.Run({"function g", "end function", "var v"});
    Ref<TtsBlock> root = unit.Builder().Root();
    root->Names.Add("sub", value::MakeRef<TtsBlock>(nullptr));
    return root;
}

TEST(Tree, UsingEntersTheUnitAndMergesItsNames) {
    BuilderDriver driver;
    Ref<TtsBlock> unit = MakeUnit();
    Lines loaded;
    driver.Owner().OnLoadFile = [&](const std::string& name, Ref<TtsBlock> block) {
        loaded.push_back(name + (block ? " into" : ""));
        return name == "lib" ? unit : Ref<TtsBlock>();
    };
    driver.Run({"using lib", "using lib alias", "using missing", "var other", "using lib other"});
    EXPECT_EQ(loaded, (Lines{"lib", "lib", "missing", "lib"}));
    EXPECT_EQ(driver.Errors(), Lines{"error 50+5 other already exists."});
    EXPECT_EQ(
        driver.Dump(),
        R"(TtsBlock names=[alias:TtsBlock, g:TtsFunctionNode, lib:TtsBlock, other:TtsGcVariable, v:TtsGcVariable]
  TtsUsing used @10+5
  TtsUsing used @20+5
  TtsUsing unused @30+5
  TtsVarDefine op=0 @40+5
    Target: TtsVarRef other
  TtsUsing used @50+5
)");
    const TtsBlock& root = *driver.Builder().Root();
    auto* first = NodeCast<TtsUsing>(root.Statements[0]);
    EXPECT_TRUE(IsExecutable(*first));
    EXPECT_FALSE(IsExecutable(*root.Statements[2]));
    // A unit without a parent is given an empty control as its parent.
    ASSERT_NE(first->UsedBlockParent, nullptr);
    EXPECT_EQ(first->UsedBlockParent->Kind, NodeKind::Control);
    EXPECT_EQ(unit->Parent, first->UsedBlockParent.Get());
    EXPECT_EQ(first->UsedTree, first->UsedBlockParent);
    EXPECT_EQ(NodeCast<TtsUsing>(root.Statements[1])->UsedBlockParent, first->UsedBlockParent);
}

TEST(Tree, UsingKeepsTheUnitsTreeAlive) {
    BuilderDriver driver;
    TtsBlock* usedBody = nullptr;
    {
        BuilderDriver other;
        other.Run({"var outer", "file f", "var inside"});
        usedBody = NodeCast<TtsBlock>(other.Builder().Current());
        driver.Owner().OnLoadFile = [&](const std::string&, Ref<TtsBlock>) {
            return Ref<TtsBlock>::Retain(usedBody);
        };
        driver.Run({"using f"});
    }
    auto* statement = NodeCast<TtsUsing>(driver.Builder().Root()->Statements[0]);
    EXPECT_EQ(statement->UsedBlockParent->Kind, NodeKind::FileNode);
    EXPECT_EQ(statement->UsedTree->Kind, NodeKind::Block);
    // The other tree's builder is gone, but lookups from inside the unit
    // still walk a whole parent chain.
    EXPECT_NE(usedBody->FindNode("outer"), nullptr);
    EXPECT_EQ(usedBody->FindNode("nowhere"), nullptr);
    EXPECT_EQ(driver.Builder().Root()->Names.Find("inside"), usedBody->Names.Find("inside"));
}

TEST(Tree, UsingItselfIsRefused) {
    BuilderDriver driver;
    driver.Owner().OnLoadFile = [&](const std::string& name, Ref<TtsBlock> into) {
        if (into) return into;
        if (name == "self") return driver.Builder().Root();
        auto* file = NodeCast<TtsFileNode>(driver.Builder().Root()->Statements[1]);
        return file ? file->Body : Ref<TtsBlock>();
    };
    driver.Run({"if a", "using self", "end if", "file sibling", "end file", "using sibling"});
    EXPECT_EQ(driver.Errors(), (Lines{"error 20+5 Circular file reference : self",
                                      "error 60+5 Circular file reference : sibling"}));
    EXPECT_EQ(driver.Builder().Root()->Names.Count(), 0);
}

TEST(Tree, LoaderFailuresLeaveTheParse) {
    BuilderDriver driver;
    driver.Owner().OnLoadFile = [](const std::string& name, Ref<TtsBlock>) -> Ref<TtsBlock> {
        throw value::EtsException("cannot read " + name);
    };
    EXPECT_THROW(driver.Run({"using x"}), value::EtsException);
    EXPECT_THROW(driver.Run({"file x"}), value::EtsException);
    EXPECT_EQ(driver.Errors(), Lines{});
}

struct FileHeadCase {
    const char* option; // "" plain head, else the option value
    const char* flag;   // "" no flag
    NodeKind kind;
    bool overwrite;
    bool loads; // the file is compiled into the body
    const char* names;
};

TEST(Tree, FileHeads) {
    const char* fileAndTarget = "names=[filename:TtsVariable, target:TtsVariable]";
    const char* withParameter =
        "names=[filename:TtsVariable, parameter:TtsVariable, target:TtsVariable]";
    const std::vector<FileHeadCase> cases = {
        {"", "", NodeKind::FileNode, false, true, fileAndTarget},
        {"", "true", NodeKind::FileNode, true, true, fileAndTarget},
        {"true", "", NodeKind::FileNode, true, true, fileAndTarget},
        {"false", "", NodeKind::FileNode, false, true, fileAndTarget},
        {"Other", "", NodeKind::FileNode, false, true, fileAndTarget},
        {"Other", "true", NodeKind::FileNode, true, true, fileAndTarget},
        {"Copy", "", NodeKind::OldCopy, false, false, fileAndTarget},
        {"COPY", "true", NodeKind::OldCopy, true, false, fileAndTarget},
        {"Execute", "", NodeKind::OldExecute, false, false, withParameter},
        {"execute", "true", NodeKind::OldExecute, true, false, withParameter},
        {"Using", "true", NodeKind::OldUsing, false, false, fileAndTarget},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + "/" + c.flag);
        BuilderDriver driver;
        Lines loaded;
        driver.Owner().OnLoadFile = [&](const std::string& name, Ref<TtsBlock> block) {
            loaded.push_back(name + (block ? " into" : ""));
            if (block) block->Names.Add("loaded", value::MakeRef<TtsBlock>(nullptr));
            return block ? block : MakeUnit();
        };
        TtsBuilder& b = driver.Builder();
        auto head = BuilderDriver::Token(10, 4, "file");
        auto close = BuilderDriver::Token(40, 1, ")");
        auto name = BuilderDriver::Token(15, 5, "x.oz");
        auto option = BuilderDriver::Token(25, 5, c.option);
        auto flag = BuilderDriver::Token(32, 4, c.flag);
        const bool hasOption = *c.option, hasFlag = *c.flag;
        ParseValue span = !hasOption && !hasFlag ? b.FileHead(head, close, name)
                          : !hasOption           ? b.FileHeadWithFlag(head, close, name, flag)
                          : !hasFlag             ? b.FileHeadWithOption(head, close, name, option)
                                     : b.FileHeadWithOptionAndFlag(head, close, name, option, flag);
        EXPECT_EQ(span.Position, 10);
        EXPECT_EQ(span.Length, 31);
        auto* node = NodeCast<TtsFileNode>(b.Current()->Parent);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->Kind, c.kind);
        EXPECT_EQ(node->Name, "file");
        EXPECT_EQ(node->Overwrite, c.overwrite);
        EXPECT_EQ(loaded, c.loads                        ? Lines{"x.oz into"}
                          : c.kind == NodeKind::OldUsing ? Lines{"x.oz"}
                                                         : Lines{});
        std::string expectedNames = c.names;
        if (c.loads) expectedNames.insert(29, "loaded:TtsBlock, ");
        const std::string dump = DumpTree(*node->Body);
        EXPECT_EQ(dump.substr(0, dump.find('\n')), "TtsBlock " + expectedNames);
        if (c.kind == NodeKind::OldUsing) {
            EXPECT_FALSE(IsExecutable(*node));
            EXPECT_NE(b.Root()->Names.Find("x.oz"), nullptr);
            EXPECT_NE(b.Root()->Names.Find("g"), nullptr);
        }
        if (auto* execute = NodeCast<TtsOldExecute>(node)) {
            EXPECT_EQ(execute->ProgramPath, "x.oz");
            EXPECT_EQ(execute->ParameterVariable, execute->FileNameVariable);
        }
        if (auto* copy = NodeCast<TtsOldCopy>(node)) {
            EXPECT_EQ(copy->SourcePath, "x.oz");
        }
    }
}

TEST(Tree, KindsFollowTheClassTree) {
    EXPECT_TRUE(IsKindOf(NodeKind::FsVariable, NodeKind::Variable));
    EXPECT_TRUE(IsKindOf(NodeKind::SysTick, NodeKind::Variable));
    EXPECT_FALSE(IsKindOf(NodeKind::SysTick, NodeKind::GcVariable));
    EXPECT_TRUE(IsKindOf(NodeKind::ClassNode, NodeKind::FunctionNode));
    EXPECT_FALSE(IsKindOf(NodeKind::FunctionNode, NodeKind::ClassNode));
    EXPECT_TRUE(IsKindOf(NodeKind::Host, NodeKind::Block));
    EXPECT_TRUE(IsKindOf(NodeKind::RefDefine, NodeKind::Assign));
    EXPECT_TRUE(IsKindOf(NodeKind::OldExecute, NodeKind::Control));
    EXPECT_FALSE(IsKindOf(NodeKind::Using, NodeKind::Control));
    EXPECT_TRUE(IsKindOf(NodeKind::FunctionEnd, NodeKind::Statement));
    EXPECT_FALSE(IsKindOf(NodeKind::Text, NodeKind::Expression));
    EXPECT_TRUE(IsKindOf(NodeKind::SubSetExpr, NodeKind::Complex));
    for (int k = 1; k <= static_cast<int>(NodeKind::FunctionEnd); ++k) {
        const auto kind = static_cast<NodeKind>(k);
        EXPECT_TRUE(IsKindOf(kind, NodeKind::Node));
        EXPECT_NE(IsKindOf(kind, NodeKind::Expression), IsKindOf(kind, NodeKind::Statement))
            << NodeKindName(kind);
    }
}

} // namespace
} // namespace ozra::front
