#pragma once

#include <sys/types.h>

// What a process and every process below it use right now, read from /proc.
struct TreeUsage {
    long RssKb = 0;     // VmRSS added up (pages shared between them count twice)
    long CpuMs = 0;     // user + system time, with that of waited-for children
    long Threads = 0;   // threads of all of them
    long Processes = 0; // the root and its living descendants
};

TreeUsage SampleTree(pid_t root);
