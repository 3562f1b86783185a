// The GenApi stand-in: node lookup, the kinds of node pointer, and the exceptions the pages catch.
#include "MilTestCamera.h"
#include "SimNodeMap.h"

using namespace kavrino;

class GenApiTest : public MilTestCamera {
protected:
    void SetUp() override {
        MilTestCamera::SetUp();
        Connect(Camera(false, 8, "missing = UserSetSave\n"));
        camera = SimCameraRegistry::Find(L"M1");
        map = std::make_unique<SimNodeMap>(camera);
    }
    std::shared_ptr<SimCamera> camera;
    std::unique_ptr<SimNodeMap> map;
};

TEST_F(GenApiTest, NodesOfTheRightKindReadWriteAndExecute) {
    GenApi::CIntegerPtr clock = map->GetNode("PixelClockReg");
    ASSERT_TRUE(clock.IsValid());
    EXPECT_EQ(clock->GetValue(false, true), 100000);
    GenApi::CStringPtr command = map->GetNode("Command");
    command->SetValue("WAGCMODE 0x1", true);
    EXPECT_EQ(command->GetValue(), "WAGCMODE 0x1");
    GenApi::CEnumerationPtr selector = map->GetNode("UserSetSelector");
    selector->FromString("UserSet1", true);
    EXPECT_EQ(selector->ToString(), "UserSet1");
    GenApi::CCommandPtr calibration = map->GetNode("WhiteBlalance");
    calibration->Execute();
    EXPECT_TRUE(calibration->IsDone());
    EXPECT_EQ(camera->Executions(L"WhiteBlalance"), 1);
    EXPECT_TRUE(GenApi::IsReadable(map->GetNode("DeviceModelName")));
    EXPECT_FALSE(GenApi::IsWritable(map->GetNode("DeviceModelName")));
    EXPECT_TRUE(GenApi::IsWritable(map->GetNode("Gain")));
}

TEST_F(GenApiTest, AMissingNodeOrOneOfAnotherKindThrowsOnUse) {
    EXPECT_EQ(map->GetNode("NoSuchNode"), nullptr);
    EXPECT_EQ(map->GetNode("UserSetSave"), nullptr); // removed by the configuration
    GenApi::CCommandPtr save = map->GetNode("UserSetSave");
    EXPECT_FALSE(save.IsValid());
    try {
        save->Execute();
        FAIL() << "no exception";
    } catch (const GenICam::LogicalErrorException& e) {
        EXPECT_STREQ(e.GetDescription(), "NULL pointer dereferenced");
    }
    GenApi::CStringPtr notString = map->GetNode("PixelClockReg"); // an integer node
    EXPECT_THROW(notString->SetValue("WFREERUN 7D0"), GenICam::GenericException);
    GenApi::CEnumerationPtr notEnumeration = map->GetNode("ReverseX"); // a boolean node
    EXPECT_THROW(notEnumeration->FromString("On"), GenICam::LogicalErrorException);
}

TEST_F(GenApiTest, RefusalsOfTheCameraCarryItsReason) {
    GenApi::CEnumerationPtr selector = map->GetNode("UserSetSelector");
    try {
        selector->FromString("UserSet9");
        FAIL() << "no exception";
    } catch (const GenICam::GenericException& e) {
        EXPECT_NE(std::string(e.GetDescription()).find("UserSet9"), std::string::npos);
    }
    GenApi::CIntegerPtr width = map->GetNode("Width");
    MdigGrabContinuous(dig, buf);
    EXPECT_FALSE(GenApi::IsWritable(width));
    EXPECT_THROW(width->SetValue(128), GenICam::GenericException);
    MdigHalt(dig);
    width->SetValue(128);
    EXPECT_EQ(width->GetValue(), 128);
    EXPECT_EQ(width->GetInc(), 8);
    camera->SetRefused(L"BlackCalibration", true);
    GenApi::CCommandPtr black = map->GetNode("BlackCalibration");
    EXPECT_THROW(black->Execute(), GenICam::GenericException);
}
