// zuba-trilo-replay for Node.js: the same replay driver over the browser
// build's SDL and platform pieces, so its traces can be compared with the
// desktop's golden ones.
#include "replay/replay_program.h"
#include "web/web_platform.h"

int main(int argc, char** argv) {
    web_platform_use();  // the replay driver then puts in its own fake clock
    return replay_main(argc, argv);
}
