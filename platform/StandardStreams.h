#pragma once
// A program started with standard input, output or error closed (by a service manager or a
// careless script) would hand those numbers to the next files it opens, and its messages
// would be written into them: an output file, say. Called first thing in main.
void OpenMissingStandardStreams();
