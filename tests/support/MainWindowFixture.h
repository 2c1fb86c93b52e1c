#pragma once

// The real main window on a list file in a temporary program folder, with a fixed clock and no
// sibling; questions are asked with the real message boxes and dialogs.
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
        sibling_.running = false;
    }

    std::unique_ptr<TVelkDolvane> Open()
    {
        return std::make_unique<TVelkDolvane>(MainWindowServices{paths_, clock_, sibling_, DiskFiles(), nullptr, {}});
    }

    TempFolder folder_;
    ProgramPaths paths_;
    FixedClock clock_;
    FakeSibling sibling_;
};

}  // namespace dolvane::test
