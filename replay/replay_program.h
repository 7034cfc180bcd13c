// The zuba-trilo-replay program, for the desktop's main and the browser
// build's Node.js one.
#pragma once

// The whole zuba-trilo-replay program: options, script, run, figures; its
// exit status.
int replay_main(int argc, char** argv);
