// Every dialog of the desktop bridge, driven from scripts on the run thread
// and answered on the module's GUI thread: accepted with a value, and
// cancelled. Together they prove the marshalling both ways; they also run
// under ThreadSanitizer.
#include "dialog_answerer.h"

#include "../libs/script_support.h"

#include "data/data_link_file.h"
#include "data/scripting/connection_editor.h"
#include "data/scripting/data_libraries.h"
#include "runtime/desktop_module.h"

#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <filesystem>
#include <stdlib.h>

namespace ozra::testing {
namespace {

using libs::testing::RunWithLibraries;
using libs::testing::ScriptRun;
using libs::testing::TempFolder;

// One bridge for the process: Qt starts once. Its configuration and ODBC
// files live in a folder of the test's own.
class QtDesktop final : public ::testing::Environment {
  public:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_CONFIG_HOME", Home.Path.c_str(), 1);
        ::setenv("ODBCSYSINI", Home.Path.c_str(), 1);
        ::setenv("ODBCINI", (Home.Path + "odbc.ini").c_str(), 1);
        Home.Write("odbcinst.ini", "[Fake Driver]\nDriver=/nonexistent/libfake.so\n");
        Home.Write("odbc.ini", "[Orders]\nDriver=Fake Driver\nDescription=Order database\n");
        Bridge = runtime::LoadDesktopModule({OZRA_DESKTOP_MODULE_PATH});
    }
    void TearDown() override { Bridge.reset(); }

    TempFolder Home;
    std::unique_ptr<runtime::DesktopBridge> Bridge;
};

QtDesktop* const desktop =
    static_cast<QtDesktop*>(::testing::AddGlobalTestEnvironment(new QtDesktop));

runtime::DesktopBridge& Bridge() {
    return *desktop->Bridge;
}

ScriptRun RunScript(const std::string& script, const std::string& folder = "/tmp/") {
    return RunWithLibraries(script, folder,
                            [](runtime::TGlobalData& global) { global.Gui.SetBridge(Bridge()); });
}

// Runs the script while the steps answer its dialogs.
ScriptRun Answered(const std::string& script, std::vector<DialogAnswerer::Step> steps,
                   const std::string& folder = "/tmp/") {
    DialogAnswerer answerer(Bridge(), std::move(steps));
    ScriptRun run = RunScript(script, folder);
    EXPECT_TRUE(answerer.Finished()) << script;
    return run;
}

TEST(QtDialogs, Colour) {
    const ScriptRun chosen =
        Answered("<.= System.Dialog.ColorDialog(\"#102030\").>", {On<QColorDialog>([](auto& d) {
                     EXPECT_EQ(d.currentColor(), QColor(0x10, 0x20, 0x30));
                     d.setCurrentColor(QColor(0x33, 0x66, 0x99));
                     d.accept();
                 })});
    EXPECT_EQ(chosen.Error, "");
    EXPECT_EQ(chosen.Output, "#336699");
    EXPECT_EQ(Answered("<.= \"[\" ~ System.Dialog.ColorDialog(\"\") ~ \"]\".>", {Cancel()}).Output,
              "[]");
}

TEST(QtDialogs, FontWithItsColourFromANestedDialog) {
    const ScriptRun chosen = Answered(
        "<.var f = System.Dialog.FontDialog(\"DejaVu Sans\", 10).><.= f.Name ~ \"|\" ~ f.Size ~ "
        "\"|\" ~ f.Color ~ \"|\" ~ f.Bold ~ \"|\" ~ f.Italic ~ \"|\" ~ f.StrikeOut.>",
        {OnDialogWith("Fonts",
                      [](QDialog& d) {
                          auto& fonts = Child<QFontDialog>(d, "Fonts");
                          const QFont start = fonts.currentFont();
                          EXPECT_EQ(start.family(), "DejaVu Sans");
                          EXPECT_EQ(start.pointSize(), 10);
                          EXPECT_FALSE(start.italic()) << "the family's plain style";
                          EXPECT_FALSE(start.bold());
                          QFont font("DejaVu Sans", 14);
                          font.setBold(true);
                          font.setStrikeOut(true);
                          fonts.setCurrentFont(font);
                          // The colour dialog opens inside; the next step
                          // answers it before this one goes on.
                          Child<QPushButton>(d, "Colour").click();
                          d.accept();
                      }),
         On<QColorDialog>([](auto& d) {
             d.setCurrentColor(QColor(0x11, 0x22, 0x33));
             d.accept();
         })});
    EXPECT_EQ(chosen.Error, "");
    EXPECT_EQ(chosen.Output, "DejaVu Sans|14|#332211|true|false|true");
    EXPECT_EQ(Answered("<.var f = System.Dialog.FontDialog().><.= \"[\" ~ f ~ \"]\".>", {Cancel()})
                  .Output,
              "[]");
}

TEST(QtDialogs, OpenWithFiltersAndAProposedName) {
    TempFolder folder;
    folder.Write("notes.txt", "x");
    const ScriptRun chosen =
        Answered("<.= System.Dialog.OpenDialog(\"Text|*.txt;*.log|All|*.*\", \"%T%notes.txt\").>",
                 {On<QFileDialog>([&](QFileDialog& d) {
                     EXPECT_EQ(d.nameFilters(), (QStringList{"Text (*.txt *.log)", "All (*)"}));
                     EXPECT_EQ(QDir(d.directory()).absolutePath() + "/",
                               QString::fromStdString(folder.Path));
                     static_cast<QDialog&>(d).accept();
                 })},
                 folder.Path);
    EXPECT_EQ(chosen.Error, "");
    EXPECT_EQ(chosen.Output, folder.Path + "notes.txt");
    EXPECT_EQ(Answered("<.= \"[\" ~ System.Dialog.OpenDialog(\"\") ~ \"]\".>", {Cancel()}).Output,
              "[]");
}

TEST(QtDialogs, SaveAsksBeforeOverwritingAndAddsTheDefaultExtension) {
    TempFolder folder;
    folder.Write("old.txt", "keep");
    const std::string script = "<.= \"[\" ~ System.Dialog.SaveDialog(\"Text|*.txt\", \".txt\", "
                               "\"%T%NAME\") ~ \"]\".>";
    const auto with = [&](const char* name) {
        std::string text = script;
        text.replace(text.find("NAME"), 4, name);
        return text;
    };
    const auto answer = [](QMessageBox::StandardButton button) {
        return On<QMessageBox>([button](QMessageBox& box) { box.button(button)->click(); });
    };
    const auto accept = On<QFileDialog>([](QFileDialog& d) { static_cast<QDialog&>(d).accept(); });

    // "No" keeps the save dialog open; the user then cancels it.
    EXPECT_EQ(
        Answered(with("old.txt"), {accept, answer(QMessageBox::No), Cancel()}, folder.Path).Output,
        "[]");
    EXPECT_EQ(Answered(with("old.txt"), {accept, answer(QMessageBox::Yes)}, folder.Path).Output,
              "[" + folder.Path + "old.txt]");
    EXPECT_EQ(Answered(with("report"), {accept}, folder.Path).Output,
              "[" + folder.Path + "report.txt]");
    EXPECT_EQ(folder.Read("old.txt"), "keep") << "the dialog only names the file";
}

TEST(QtDialogs, FolderStartsAtItsFolderAndTakesATypedName) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path + "root/sub");
    std::filesystem::create_directories(folder.Path + "root/other");
    const std::string script = "<.= \"[\" ~ System.Dialog.FolderDialog(\"Where?\", \"%T%root\", "
                               "\"%T%root/sub\") ~ \"]\".>";
    const ScriptRun chosen =
        Answered(script,
                 {OnDialogWith("Folders",
                               [&](QDialog& d) {
                                   auto& edit = Child<QLineEdit>(d, "Folder");
                                   EXPECT_EQ(edit.text().toStdString(), folder.Path + "root/sub");
                                   // A relative name is taken under the selected folder.
                                   edit.setText("../other");
                                   d.accept();
                               })},
                 folder.Path);
    EXPECT_EQ(chosen.Output, "[" + folder.Path + "root/other]");

    // A folder that does not exist is refused with a message; the dialog
    // stays open until the user cancels.
    const ScriptRun refused =
        Answered(script,
                 {OnDialogWith("Folders",
                               [](QDialog& d) {
                                   Child<QLineEdit>(d, "Folder").setText("missing");
                                   d.accept();
                               }),
                  On<QMessageBox>([](QMessageBox& box) { box.accept(); }), Cancel()},
                 folder.Path);
    EXPECT_EQ(refused.Output, "[]");
}

TEST(QtDialogs, ClipboardRoundTripWithNonAsciiText) {
    const ScriptRun run =
        RunScript("<.System.Utility.CopyToClipboard(\"Gr\xC3\xBC\xC3\x9F\x65 \xE2\x9C\x93 "
                  "\xF0\x9F\x98\x80\").><.= System.Utility.GetClipboardText().>");
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x9C\x93 \xF0\x9F\x98\x80");
    runtime::Desktop direct;
    direct.SetBridge(Bridge());
    EXPECT_EQ(direct.Call("Clipboard",
                          [](runtime::DesktopBridge&) {
                              return QGuiApplication::clipboard()->text().toStdString();
                          }),
              run.Output)
        << "the text is on Qt's clipboard";
}

// The connection-string editor, through its entry point.
class ConnectionEditor : public ::testing::Test {
  protected:
    ConnectionEditor() { global_.Gui.SetBridge(Bridge()); }

    std::string Edit(const std::string& initial, std::vector<DialogAnswerer::Step> steps) {
        DialogAnswerer answerer(Bridge(), std::move(steps));
        const std::string result = data::scripting::BuildConnectionString(global_, initial);
        EXPECT_TRUE(answerer.Finished()) << initial;
        return result;
    }

    const std::string folder_ = data::scripting::DataLinkFolder();
    runtime::TGlobalData global_;
};

DialogAnswerer::Step OnEditor(std::function<void(QDialog&)> answer) {
    return OnDialogWith("ConnectionString", std::move(answer));
}

TEST_F(ConnectionEditor, AnswersTheEditedTextAndNothingWhenUnchanged) {
    EXPECT_EQ(Edit("DSN=old", {OnEditor([](QDialog& d) {
                       EXPECT_TRUE(Child<QRadioButton>(d, "UseString").isChecked());
                       EXPECT_FALSE(Child<QComboBox>(d, "LinkFile").isEnabled());
                       auto& text = Child<QLineEdit>(d, "ConnectionString");
                       EXPECT_EQ(text.text(), "DSN=old");
                       text.setText("DSN=new;UID=me");
                       d.accept();
                   })}),
              "DSN=new;UID=me");
    EXPECT_EQ(Edit("DSN=old", {OnEditor([](QDialog& d) { d.accept(); })}), "");
    EXPECT_EQ(Edit("DSN=old", {Cancel()}), "");
}

TEST_F(ConnectionEditor, ScriptsReachItThroughTheDataLibrary) {
    DialogAnswerer answerer(Bridge(), {OnEditor([](QDialog& d) {
                                Child<QLineEdit>(d, "ConnectionString").setText("DSN=Orders");
                                d.accept();
                            })});
    const ScriptRun run = RunWithLibraries(
        "<.= \"[\" ~ System.Data.BuildConnectionString(\"DSN=old\") ~ \"]\".>", "/tmp/",
        libs::AutomationClasses::None(), &data::scripting::AddDataLibraries,
        [](runtime::TGlobalData& global) { global.Gui.SetBridge(Bridge()); });
    EXPECT_TRUE(answerer.Finished());
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "[DSN=Orders]");
}

TEST_F(ConnectionEditor, ChoosesADataLinkFileOfTheFolder) {
    data::WriteDataLinkFile(folder_ + "prod.udl", "DSN=Orders;PWD=secret");
    const std::string link = "FILE NAME=" + folder_ + "prod.udl";
    EXPECT_EQ(Edit(link, {OnEditor([](QDialog& d) {
                       EXPECT_TRUE(Child<QRadioButton>(d, "UseLink").isChecked());
                       EXPECT_EQ(Child<QComboBox>(d, "LinkFile").currentText(), "prod.udl");
                       EXPECT_EQ(Child<QLabel>(d, "LinkPreview").text(), "DSN=Orders;PWD=***");
                       d.accept();
                   })}),
              "")
        << "unchanged";
    EXPECT_EQ(Edit("DSN=x", {OnEditor([](QDialog& d) {
                       Child<QRadioButton>(d, "UseLink").click();
                       Child<QComboBox>(d, "LinkFile").setCurrentText("prod.udl");
                       d.accept();
                   })}),
              link);
}

TEST_F(ConnectionEditor, BuildsFromAnOdbcDataSource) {
    const auto openBuild = OnEditor([](QDialog& d) {
        Child<QPushButton>(d, "Build").click();
        d.accept();
    });
    const auto pickOrders = OnDialogWith("Odbc", [](QDialog& d) {
        auto& tree = Child<QTreeWidget>(d, "Odbc");
        const auto found = tree.findItems("Orders", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.front()->text(1), "Fake Driver");
        EXPECT_EQ(tree.findItems("Fake Driver", Qt::MatchExactly | Qt::MatchRecursive).size(), 1)
            << "the driver is listed too";
        tree.setCurrentItem(found.front());
        d.accept();
    });
    EXPECT_EQ(Edit("", {openBuild, pickOrders}), "DSN=Orders");
}

TEST_F(ConnectionEditor, KeepsAStringAsANewDataLinkFile) {
    const std::string made =
        Edit("", {OnEditor([](QDialog& d) {
                      Child<QLineEdit>(d, "ConnectionString").setText("Data Source=/srv/app.db");
                      Child<QPushButton>(d, "SaveLink").click();
                      EXPECT_TRUE(Child<QRadioButton>(d, "UseLink").isChecked());
                      EXPECT_EQ(Child<QComboBox>(d, "LinkFile").currentText(), "made.udl");
                      d.accept();
                  }),
                  On<QInputDialog>([](QInputDialog& d) {
                      d.setTextValue("made");
                      d.accept();
                  })});
    EXPECT_EQ(made, "FILE NAME=" + folder_ + "made.udl");
    EXPECT_EQ(data::ReadDataLinkFile(folder_ + "made.udl"), "Data Source=/srv/app.db");
}

} // namespace
} // namespace ozra::testing
