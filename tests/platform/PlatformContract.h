// What the platform contract needs from each backend's test build: a way
// to deliver the posted messages.
#pragma once

// Delivers every posted message, including those posted while handling one.
void ContractPump();
