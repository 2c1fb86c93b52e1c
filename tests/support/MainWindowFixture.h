#pragma once

// The whole window on a list file in a temporary program folder, with a fixed clock and no sibling;
// questions are asked with the real message boxes and dialogs. The list holds two to-dos until a
// test writes its own: an open one in category 仕事 and one completed two days before the clock's
// now (a light green row).
#include "ui/MainWindow.h"

#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace dolvane::test {

class MainWindowFixture : public testing::Test {
protected:
    MainWindowFixture()
    {
        paths_ = DeriveProgramPaths(folder_.Path() / "program", "aki", folder_.Path() / "opt");
        std::filesystem::create_directories(paths_.ListFilePath.parent_path());
        WriteBytes(paths_.ListFilePath,
                   Sj("2010/05/01 09:00&2010/05/10 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する\r\n"
                      "2010/05/02 10:00|2010/05/03 11:00+=15100@\\@#@#済んだこと\r\n"));
        sibling_.running = false;
    }

    std::unique_ptr<TVelkDolvane> Open()
    {
        return std::make_unique<TVelkDolvane>(MainWindowServices{paths_, clock_, sibling_, DiskFiles(), nullptr, {}});
    }

    std::unique_ptr<TVelkDolvane> OpenShown()
    {
        auto window = Open();
        window->show();
        return window;
    }

    // The child named `name` (a widget's kind and number, or an action's name).
    template <typename T = QWidget> static T* Find(const QObject& root, const char* name)
    {
        auto* child = root.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    TempFolder folder_;
    ProgramPaths paths_;
    FixedClock clock_;
    FakeSibling sibling_;
};

}  // namespace dolvane::test
