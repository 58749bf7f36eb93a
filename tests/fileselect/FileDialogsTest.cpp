// The open and save dialogs over scripted pickers: what the pickers are asked, what the
// callers get back, and what the shared settings keep between calls.
#include <QtTest>

#include "ScriptedPickers.h"
#include "fileselect/FileDialogs.h"

using namespace lockvale;
using namespace lockvale::test;

using Names = std::vector<std::string>;

class FileDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { FileDialog = {"", "Pick", "/start/", 0, ""}; }

  void openReturnsTheChosenNamesUnderOneFolder() {
    const std::tuple<Names, Names, std::string> cases[] = {
        {{"/d/a.txt"}, {"", "a.txt"}, "/d/"},
        {{"/d/e/b.txt", "/d/e/a.txt"}, {"", "b.txt", "a.txt"}, "/d/e/"},
        {{"/top.txt"}, {"", "top.txt"}, "/"},
        {{}, {}, ""}};
    for (const auto& [picked, files, folder] : cases) {
      ScriptedPickers pickers;
      pickers.Queue(picked);
      const DialogSelection s = ShowOpen(nullptr, true);
      QVERIFY(s.nFilesSelected == static_cast<int>(picked.size()) && s.sFiles == files);
      QVERIFY(s.sLastDirectory == folder && s.bCanceled == picked.empty());
    }
  }

  // Several files are always allowed; the last file chosen is offered again, also after a cancel.
  void openOffersThePreviousChoiceWithQtFilters() {
    const std::pair<std::string, std::string> filters[] = {
        {FilterEntry("All Files (*.*)", "*.*"), "All Files (*)"},
        {FilterEntry("Encrypted Files (*.encr)", "*.encr"), "Encrypted Files (*.encr)"},
        {FilterEntry("Texts", "*.txt; *.doc") + FilterEntry("All", "*.*") + '\0',
         "Texts (*.txt *.doc);;All (*)"}};
    ScriptedPickers pickers;
    pickers.Queue({"/d/first.txt", "/d/second.txt"});
    for (const auto& [sFilter, qtFilter] : filters) {
      FileDialog.sFilter = sFilter;
      FileDialog.flags = kOverwritePrompt;
      ShowOpen(nullptr, true);
      const std::string offered = pickers.asked.size() == 1 ? "" : "/d/first.txt";
      QVERIFY(pickers.asked.back() ==
              PickerRequest({PickerKind::Open, "Pick", qtFilter, "/start/", offered, true, false}));
    }
  }

  // Only a caller that leaves `flags` at 0 gets the overwrite prompt, and that setting stays.
  void saveAsksBeforeOverwritingOnlyWithDefaultFlags() {
    for (const std::uint32_t flags : {0u, kExplorer | kLongNames | kHideReadOnly}) {
      ScriptedPickers pickers;
      FileDialog.flags = flags;
      FileDialog.sFile = "/old/offered.txt";
      pickers.Queue({"/out/x.encr"});
      const DialogSelection s = ShowSave(nullptr, true);
      ShowSave(nullptr, true);
      const PickerRequest save{PickerKind::Save, "Pick", "", "/start/", "", false, flags == 0};
      QVERIFY(pickers.asked == std::vector({save, save}));
      QVERIFY(s.sFiles == Names({"", "x.encr"}) && s.sLastDirectory == "/out/");
    }
  }
};

QTEST_MAIN(FileDialogsTest)
#include "FileDialogsTest.moc"
