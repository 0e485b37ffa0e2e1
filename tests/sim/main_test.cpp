#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "sim/sim.h"

namespace {

// Runs simulation_main in a child process whose environment offers no
// display, and answers what it wrote to standard error and how it ended.
struct ChildResult {
    std::string error_output;
    int status = 0;
};

ChildResult run_without_display() {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return {"pipe failed", -1};
    const pid_t child = fork();
    if (child == 0) {
        close(pipe_ends[0]);
        dup2(pipe_ends[1], STDERR_FILENO);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QXGFX");
        setenv("SDL_VIDEODRIVER", "x11", 1);
        // Should a window open after all, the frame loop would never return.
        alarm(30);
        char name[] = "mehrfachspalt";
        char* argv[] = {name, nullptr};
        _exit(simulation_main(1, argv));
    }
    close(pipe_ends[1]);
    ChildResult result;
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(pipe_ends[0], buffer, sizeof buffer)) > 0) {
        result.error_output.append(buffer, static_cast<size_t>(n));
    }
    close(pipe_ends[0]);
    waitpid(child, &result.status, 0);
    return result;
}

TEST(SimulationMain, WithoutAWindowItSaysSoAndExitsWithStatusOne) {
    const ChildResult result = run_without_display();
    ASSERT_TRUE(WIFEXITED(result.status)) << "ended by signal " << WTERMSIG(result.status);
    EXPECT_EQ(WEXITSTATUS(result.status), 1);
    EXPECT_NE(result.error_output.find("QXGFX=null"), std::string::npos) << result.error_output;
    EXPECT_NE(result.error_output.find("window"), std::string::npos);
    // One line, ending the output.
    ASSERT_FALSE(result.error_output.empty());
    EXPECT_EQ(result.error_output.find('\n'), result.error_output.size() - 1);
}

}  // namespace
