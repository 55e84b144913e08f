// The recorder's AVI files open in an ordinary player's demuxer and decoder.
#include <gtest/gtest.h>

#include <opencv2/videoio.hpp>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "tempdir.h"

TEST(Playable, FinishedAviOpensInFfmpeg) {
    testsupport::TempDir t;
    const std::string root = t.path() + "/st";
    ASSERT_EQ(std::system((std::string(DVRSTATION) + " create '" + root +
                           "' --cameras 1 --hours 0.01 --picture 160x120 --fps 4 > /dev/null")
                              .c_str()),
              0);
    platform::DirSearch s;
    platform::DirEntry e;
    ASSERT_TRUE(s.First((root + "/cam1/video/*.avi").c_str(), e));
    cv::VideoCapture cap(root + "/cam1/video/" + e.name, cv::CAP_FFMPEG);
    ASSERT_TRUE(cap.isOpened());
    EXPECT_EQ(cap.get(cv::CAP_PROP_FRAME_WIDTH), 160);
    EXPECT_EQ(cap.get(cv::CAP_PROP_FRAME_HEIGHT), 120);
    EXPECT_NEAR(cap.get(cv::CAP_PROP_FPS), 4.0, 0.01);
    int frames = 0;
    cv::Mat m;
    while (cap.read(m)) {
        ASSERT_EQ(m.cols, 160);
        ++frames;
    }
    EXPECT_GT(frames, 100);  // 36 s at 4 fps, less the pause
}
