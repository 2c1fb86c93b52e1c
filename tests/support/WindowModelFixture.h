#pragma once

// A window model on a list file in a temporary program folder, with ports that answer as told.
#include "core/app/MainWindowModel.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace dolvane::test {

inline const std::string kOneLine = "2010/05/01 09:00&2010/05/10 18:00+24=03050@\\@#@#task";

class WindowModelTest : public testing::Test {
protected:
    WindowModelTest()
    {
        paths_ = DeriveProgramPaths(folder_.Path() / "program", "aki", folder_.Path() / "opt");
        std::filesystem::create_directories(paths_.ListFilePath.parent_path());
        WriteBytes(paths_.ListFilePath, kOneLine + "\r\n");
    }

    std::unique_ptr<MainWindowModel> Make()
    {
        auto model = std::make_unique<MainWindowModel>(
            paths_, MainWindowPorts{clock_, prompts_, sibling_, DiskFiles(), &siblingSettings_, {}});
        model->FormCreate();
        return model;
    }

    TempFolder folder_;
    ProgramPaths paths_;
    FixedClock clock_;
    ScriptedPrompts prompts_;
    FakeSibling sibling_;
    FakeSettingsStore siblingSettings_;
};

}  // namespace dolvane::test
