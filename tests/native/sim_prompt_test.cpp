// The input utility's prompts: answers from the --answers file or from the view.
#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/model/answers.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;

struct PromptSession : Session {
    explicit PromptSession(sim::Options o = {}) : Session(drawingOf({}), std::move(o)), utility(object(get(doc, L"Utility"))) {}
    Value point() { return call(utility, L"GetPoint", {cad::Omitted{}, L"pick: "}); }
    Value distance(Value base = cad::Omitted{}) { return call(utility, L"GetDistance", {base, L"distance: "}); }
    DispatchPtr utility;
};

TEST(SimPrompts, AnswersComeFromTheFileInOrder) {
    TempDir dir;
    sim::Options o;
    o.answers = dir / "answers.txt";
    writeFile(o.answers,
              "# base point, then spacings\r\npoint 1.5, -2\ndistance 7.25\n\nPOINT 0,0\npoint 3,4\n"
              "point 10,10\ncancel\npoint 1,1\ndistance 2\n");
    PromptSession s(o);
    EXPECT_EQ(as<std::vector<double>>(s.point()), (std::vector<double>{1.5, -2, 0}));
    EXPECT_EQ(as<double>(s.distance()), 7.25);
    EXPECT_EQ(as<double>(s.distance()), 5);  // two points picked: (0,0) to (3,4)
    EXPECT_EQ(as<double>(s.distance(std::vector<double>{7, 6, 0})), 5);  // from the base point to (10,10)
    EXPECT_TRUE(contains(errorOf([&] { s.point(); }), L"cancel"));
    EXPECT_EQ(as<std::vector<double>>(s.point()), (std::vector<double>{1, 1, 0}));
    EXPECT_TRUE(contains(errorOf([&] { s.point(); }), L"distance"));  // a distance where a point is asked
    EXPECT_TRUE(contains(errorOf([&] { s.point(); }), L"no answer left"));
}

TEST(SimPrompts, WithoutAFileTheViewAnswers) {
    PromptSession s;
    EXPECT_TRUE(contains(errorOf([&] { s.point(); }), L"cancel"));  // nobody to ask
    std::vector<sim::PromptRequest> asked;
    sim::PromptAnswer next{false, 4, 5, 6};
    s.host.promptHandler = [&](const sim::PromptRequest& r) {
        asked.push_back(r);
        return next;
    };
    EXPECT_EQ(as<std::vector<double>>(s.point()), (std::vector<double>{4, 5, 0}));
    EXPECT_EQ(as<double>(s.distance()), 6);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, sim::PromptRequest::Kind::Point);
    EXPECT_EQ(asked[0].text, L"pick: ");
    EXPECT_EQ(asked[1].kind, sim::PromptRequest::Kind::Distance);
    next.cancelled = true;
    EXPECT_TRUE(contains(errorOf([&] { s.distance(); }), L"cancel"));
}

TEST(SimPrompts, UnreadableAnswerLinesAreRefusedWithFileAndLine) {
    const char* bad[] = {"point 1", "point 1,2,3,4", "point a,b", "distance", "distance 1 2", "cancel now", "pick 1,2",
                         "distance nan"};
    for (const char* line : bad) {
        try {
            sim::parseAnswers(std::string("point 0,0\n") + line + "\n", "answers.txt");
            ADD_FAILURE() << "accepted " << line;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find("answers.txt, line 2"), std::string::npos) << e.what();
        }
    }
    sim::Options o;
    o.answers = "no such answers file.txt";
    EXPECT_THROW(sim::Host(drawingOf({}), o), std::invalid_argument);
}

}  // namespace
