#include "frontend/compose/composer.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frontend/compose/dialog_level_conflict.h"
#include "frontend/compose/slot_numbers.h"

namespace vornel::frontend {
namespace {

// Answers the composer's questions from a script and remembers what was asked.
class ScriptedQuestions : public Questions {
public:
    std::deque<bool> answers;
    std::vector<std::string> asked;
    bool askYesNo(std::string_view title, std::string_view text) override {
        asked.push_back(std::string(title) + "|" + std::string(text));
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class Composer : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vornelf_compose_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        file_ = (dir_ / "roads.dgn").string();
        std::ofstream(file_) << "x";
        state_.main.inputFile = file_;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string options() {
        const ComposeResult result = compose(state_, questions_);
        EXPECT_TRUE(result.ok()) << result.message;
        const std::string prefix = "perl -S vornel.pl -F " + file_;
        return result.commandLine.substr(std::min(prefix.size(), result.commandLine.size()));
    }

    std::filesystem::path dir_;
    std::string file_;
    FrontState state_;
    ScriptedQuestions questions_;
};

TEST_F(Composer, DefaultsGiveOnlyTheFileName) {
    const ComposeResult result = compose(state_, questions_);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.commandLine, "perl -S vornel.pl -F " + file_);
    EXPECT_EQ(result.program, "perl");
    EXPECT_EQ(result.arguments, (std::vector<std::string>{"-S", "vornel.pl", "-F", file_}));
}

TEST_F(Composer, UlfInputUsesMinusU) {
    state_.main.inputType = InputType::Ulf;
    EXPECT_EQ(compose(state_, questions_).commandLine, "perl -S vornel.pl -U " + file_);
}

TEST_F(Composer, MissingFileStopsBeforeAnything) {
    for (const std::string& name : {std::string(), (dir_ / "none.dgn").string(), dir_.string()}) {
        state_.main.inputFile = name;
        state_.main.list(ListId::Levels) = "5";
        const ComposeResult result = compose(state_, questions_);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.message, "The File Does Not Exist");
        EXPECT_EQ(result.focus, ComposeFocus::InputFile);
        EXPECT_FALSE(state_.slots.isSet(slot::kLevels));
    }
}

TEST_F(Composer, OrderFollowsSlots) {
    state_.main.list(ListId::Levels) = "10,11";
    state_.main.list(ListId::ElementTypes) = "3,4,16";
    state_.slots.set(slot::kDangles, "-D", "12,1");
    state_.slots.set(slot::kWeed, "-W", "1,2,3");
    state_.slots.set(slot::kLabels, "-label", "roads,name,,2");
    state_.outputLevelChosen = true;
    state_.storedOutputLevel = "20";
    EXPECT_EQ(options(), " -e 3,4,16 -ll 10,11 -W 1,2,3 -D 12,1 -label roads,name,,2 -L 20");
}

TEST_F(Composer, ListsEqualToTheirDefaultsAddNothing) {
    state_.main.list(ListId::ElementTypes) = "4,3";
    state_.main.list(ListId::Levels) = "1-30,31-63";
    state_.main.list(ListId::Classes) = "2,0";
    state_.main.list(ListId::Colors) = "0-254";
    EXPECT_EQ(options(), " -lo 0-254");
    state_.main.list(ListId::Colors) = "0-255";
    EXPECT_EQ(options(), "");
}

TEST_F(Composer, InvalidListStopsAndGoesBackToDefault) {
    state_.main.list(ListId::Weights) = "3-1";
    const ComposeResult result = compose(state_, questions_);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.title, "Vornel weights");
    EXPECT_EQ(result.message, "'Weights 3-1' is invalid.  Please enter the weights again.");
    EXPECT_EQ(result.focus, ComposeFocus::WeightList);
    EXPECT_EQ(state_.main.list(ListId::Weights), "0-30");
}

TEST_F(Composer, MainWindowChoices) {
    struct Case { OutputKind output; AttributeChoice attributes; bool complex, save, random; const char* options; };
    const Case cases[] = {
        {OutputKind::Lines, AttributeChoice::Stack, false, false, false, ""},
        {OutputKind::Bsplines, AttributeChoice::Strip, true, false, false, " -b -C -AS"},
        {OutputKind::Curves, AttributeChoice::RemoveDuplicates, false, false, true, " -c -AU -p"},
        {OutputKind::NoOutput, AttributeChoice::Stack, false, false, false, " -NO"},
    };
    for (const Case& c : cases) {
        state_.main.output = c.output;
        state_.main.attributes = c.attributes;
        state_.main.complexOutput = c.complex;
        state_.main.saveOriginal = c.save;
        state_.main.randomColors = c.random;
        EXPECT_EQ(options(), c.options);
    }
}

TEST_F(Composer, SaveOriginalPassesTheStoredOutputLevel) {
    state_.main.list(ListId::Levels) = "1-10";
    state_.main.saveOriginal = true;
    state_.storedOutputLevel = "44";
    EXPECT_EQ(options(), " -ll 1-10 -s -L 44");
}

TEST_F(Composer, SaveOriginalWithoutOutputLevelStopsRatherThanPassBareL) {
    state_.main.saveOriginal = true;
    const ComposeResult result = compose(state_, questions_);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.message,
              "An output level for the modified linework has not been set.  It is required for this option.");
}

TEST_F(Composer, VertexLimitRanges) {
    struct Case { OutputKind output; const char* count; const char* options; const char* message; };
    const Case cases[] = {
        {OutputKind::Lines, "101", " -V 101", ""},
        {OutputKind::Lines, "2", " -V 2", ""},
        {OutputKind::Lines, "", "", ""},
        {OutputKind::Lines, "1", "", "The max number of vertices is invalid.  The valid range for lines is 2-101."},
        {OutputKind::Curves, "101", "",
         "The max number of vertices is invalid.  The valid range for curves and bsplines is 3-97."},
        {OutputKind::Bsplines, "2", "",
         "The max number of vertices is invalid.  The valid range for curves and bsplines is 3-97."},
        {OutputKind::Curves, "97", " -c -V 97", ""},
        {OutputKind::Lines, "99999999", "", "The max number of vertices is invalid.  The valid range for lines is 2-101."},
        {OutputKind::NoOutput, "50", "", "At least one output element type must be selected."},
    };
    state_.main.limitVertices = true;
    for (const Case& c : cases) {
        state_.main.output = c.output;
        state_.main.vertexCount = c.count;
        const ComposeResult result = compose(state_, questions_);
        EXPECT_EQ(result.message, c.message) << c.count;
        if (result.ok()) {
            EXPECT_EQ(result.commandLine, "perl -S vornel.pl -F " + file_ + c.options);
        } else {
            EXPECT_EQ(result.title, "Limit vertices");
            EXPECT_EQ(result.focus, ComposeFocus::VertexCount);
        }
    }
}

TEST_F(Composer, OutputLevelInTheLevelListAnsweredYesIsRemoved) {
    state_.main.list(ListId::Levels) = "5,3,4";
    state_.outputLevelChosen = true;
    state_.storedOutputLevel = "5";
    questions_.answers = {true};
    EXPECT_EQ(options(), " -ll 3-4 -L 5");
    ASSERT_EQ(questions_.asked.size(), 1u);
    EXPECT_EQ(questions_.asked[0],
              "Input levels vs. output and flagging levels|The element output level: 5 is also one of your "
              "input levels: 5,3,4.  Do you wish to remove level 5 from your input level list?");
    EXPECT_EQ(state_.main.list(ListId::Levels), "3-4");
}

TEST_F(Composer, OutputLevelInTheLevelListAnsweredNoRunsNothing) {
    state_.outputLevelChosen = true;
    state_.storedOutputLevel = "5";
    questions_.answers = {false};
    const ComposeResult result = compose(state_, questions_);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(state_.main.list(ListId::Levels), "1-63");
}

TEST_F(Composer, EveryFlaggingLevelIsCheckedInOrder) {
    state_.main.saveOriginal = true;
    state_.storedOutputLevel = "1";
    state_.slots.set(slot::kFlagShort, "-OF", "5,2,1");
    state_.slots.set(slot::kDangles, "-D", "3,1");
    state_.slots.set(slot::kFlagMultiLevel, "-L", "F,4,2.5");
    state_.slots.set(slot::kZeroLength, "-Z", "6");
    questions_.answers = {true, true, true, true, true};
    EXPECT_EQ(options(), " -ll 5,7-63 -s -Z 6 -D 3,1 -OF 5,2,1 -L 1 -L F,4,2.5");
    ASSERT_EQ(questions_.asked.size(), 5u);
    const char* labels[] = {"The element output level: 1", "The short segment flagging level: 2",
                            "The dangles flagging level: 3", "The multi-level line flagging level: 4",
                            "The zero length line flagging level: 6"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NE(questions_.asked[i].find(labels[i]), std::string::npos) << questions_.asked[i];
    }
}

TEST_F(Composer, ZeroLevelAndLevelsOutsideTheListAskNothing) {
    state_.main.list(ListId::Levels) = "10-20";
    state_.slots.set(slot::kZeroLength, "-Z", "0");
    state_.slots.set(slot::kDangles, "-D", "30,1");
    EXPECT_EQ(options(), " -ll 10-20 -Z 0 -D 30,1");
    EXPECT_TRUE(questions_.asked.empty());
}

TEST_F(Composer, RemovingTheLastInputLevelStops) {
    state_.main.list(ListId::Levels) = "5";
    state_.outputLevelChosen = true;
    state_.storedOutputLevel = "5";
    questions_.answers = {true};
    const ComposeResult result = compose(state_, questions_);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.message, "No input levels are left.  Please enter the levels again.");
    EXPECT_EQ(result.focus, ComposeFocus::LevelList);
}

TEST_F(Composer, FileNameWithBlanksStaysOneArgument) {
    const std::string spaced = (dir_ / "my roads.dgn").string();
    std::ofstream(spaced) << "x";
    state_.main.inputFile = spaced;
    const ComposeResult result = compose(state_, questions_);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.arguments.at(3), spaced);
}

TEST(DialogLevelConflict, AsksOnlyForAnInputLevel) {
    const auto question = dialogLevelConflict(DialogLevel::Flagging, "12", "10-20");
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->title, "Flagging level vs. Input levels");
    EXPECT_EQ(question->text,
              "Flagging level 12 was also selected as one of the input levels: 10-20. Would you like to "
              "remove it from the input level list?");
    EXPECT_EQ(dialogLevelConflict(DialogLevel::Output, "5", "1-63")->title, "Output level vs. Input levels");
    EXPECT_FALSE(dialogLevelConflict(DialogLevel::Flagging, "30", "10-20").has_value());
    EXPECT_FALSE(dialogLevelConflict(DialogLevel::ZeroLength, "0", "1-63").has_value());
    EXPECT_FALSE(dialogLevelConflict(DialogLevel::Flagging, "", "1-63").has_value());
    EXPECT_EQ(levelListWithout("5,3,4", 5), "3-4");
    EXPECT_EQ(levelListWithout("5", 5), "");
}

}  // namespace
}  // namespace vornel::frontend
