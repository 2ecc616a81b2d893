// Play, pause, stop, seek and the end of the file, heard through SDL's dummy driver.
#include "PlovexTestSupport.h"

#include <thread>

using namespace std::chrono_literals;

class TransportTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        mp3gen::ToneSpec params;
        params.seconds = seconds;
        path = MakeFile("tone.mp3", params);
        ASSERT_EQ(api.Open(path.c_str()), 1);
        length = api.GetLen();
    }

    bool WaitForPosition(int ms) {
        return WaitUntil([&] { return api.GetPos() >= ms; }, 5s);
    }

    double seconds = 3.0;
    std::string path;
    int length = 0;
};

TEST_F(TransportTest, SeekTakesEffectAtOnceInEveryState) {
    EXPECT_EQ(api.SetPos(1234), 1);
    EXPECT_NEAR(api.GetPos(), 1234, 1);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_STOPPED);

    api.Pause();
    EXPECT_EQ(api.SetPos(2001), 1);
    EXPECT_NEAR(api.GetPos(), 2001, 1);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_PAUSED);

    EXPECT_EQ(api.SetPos(-50), 1);
    EXPECT_EQ(api.GetPos(), 0);
    EXPECT_EQ(api.SetPos(length + 5000), 1);
    EXPECT_EQ(api.GetPos(), length);

    api.SetPos(500);
    api.Play();
    ASSERT_TRUE(WaitForPosition(600));
    EXPECT_EQ(api.SetPos(2000), 1);
    const int afterSeek = api.GetPos();
    EXPECT_GE(afterSeek, 2000);
    EXPECT_LT(afterSeek, 2200);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_PLAYING);
}

TEST_F(TransportTest, PositionFollowsPlayback) {
    ASSERT_EQ(api.Play(), 1);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_PLAYING);
    std::this_thread::sleep_for(600ms);
    const int position = api.GetPos();
    EXPECT_GT(position, 0);
    EXPECT_LT(position, length);
    // It moves on, never back.
    EXPECT_TRUE(WaitForPosition(position + 100));
}

TEST_F(TransportTest, PauseHoldsThePositionAndDoesNotToggle) {
    api.Play();
    ASSERT_TRUE(WaitForPosition(300));
    ASSERT_EQ(api.Pause(), 1);
    const int held = api.GetPos();
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_PAUSED);
    ASSERT_EQ(api.Pause(), 1);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_PAUSED);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(api.GetPos(), held);

    api.Play();
    EXPECT_TRUE(WaitForPosition(held + 100));
}

TEST_F(TransportTest, StopReturnsToTheStart) {
    api.Play();
    ASSERT_TRUE(WaitForPosition(300));
    ASSERT_EQ(api.Stop(), 1);
    EXPECT_EQ(api.GetPos(), 0);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_STOPPED);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(api.GetPos(), 0);
    EXPECT_EQ(api.IsOpend(), 1);
}

TEST_F(TransportTest, PlaybackStopsAtTheEndAndPlayStartsOver) {
    api.SetPos(length - 400);
    api.Play();
    ASSERT_TRUE(WaitUntil([&] { return api.GetState() == PLOVEX_STATE_STOPPED; }, 5s));
    EXPECT_EQ(api.GetPos(), length);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(api.GetPos(), length);

    // What the window does when it sees the end: rewind; the player waits there.
    api.SetPos(0);
    EXPECT_EQ(api.GetPos(), 0);
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_STOPPED);

    api.SetPos(length);
    api.Play();
    EXPECT_EQ(api.GetState(), PLOVEX_STATE_PLAYING);
    EXPECT_LT(api.GetPos(), 200);
}
