// The devices the session plays on: video, input and sound, started before
// the first screen and shut down after the last.
#pragma once

// Starts video, then input, then sound; 1 when video could not start. A sound
// device that does not open leaves the game silent, not stopped.
int devices_start();
// Sound, joysticks and surface, in this order, then SDL itself.
void devices_shutdown();
