#include "ProcessTree.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Stat {
    pid_t Parent = 0;
    long Ticks = 0; // utime + stime + cutime + cstime
};

// /proc/PID/stat: the command name may hold spaces and parentheses, so the
// fields are counted from the last ')'.
bool readStat(pid_t pid, Stat& out) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    FILE* f = std::fopen(path, "re");
    if (!f)
        return false;
    char buf[1024];
    const std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    const char* p = std::strrchr(buf, ')');
    if (!p)
        return false;
    // After ")": state(3) ppid(4) ... utime(14) stime(15) cutime(16) cstime(17).
    long field[18] = {};
    char state = 0;
    if (std::sscanf(p + 1, " %c %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld", &state,
                    &field[4], &field[5], &field[6], &field[7], &field[8], &field[9], &field[10],
                    &field[11], &field[12], &field[13], &field[14], &field[15], &field[16],
                    &field[17]) != 15)
        return false;
    out.Parent = pid_t(field[4]);
    out.Ticks = field[14] + field[15] + field[16] + field[17];
    return true;
}

// VmRSS (kB) and Threads of /proc/PID/status.
void readStatus(pid_t pid, TreeUsage& add) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", int(pid));
    FILE* f = std::fopen(path, "re");
    if (!f)
        return;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            add.RssKb += std::strtol(line + 6, nullptr, 10);
        else if (std::strncmp(line, "Threads:", 8) == 0)
            add.Threads += std::strtol(line + 8, nullptr, 10);
    }
    std::fclose(f);
}

std::map<pid_t, Stat> allProcesses() {
    std::map<pid_t, Stat> all;
    DIR* proc = opendir("/proc");
    if (!proc)
        return all;
    while (dirent* e = readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(e->d_name[0])))
            continue;
        const pid_t pid = pid_t(std::atoi(e->d_name));
        Stat s;
        if (readStat(pid, s))
            all[pid] = s;
    }
    closedir(proc);
    return all;
}

} // namespace

TreeUsage SampleTree(pid_t root) {
    const std::map<pid_t, Stat> all = allProcesses();
    std::vector<pid_t> tree;
    if (all.count(root))
        tree.push_back(root);
    // Descendants: repeat until no process joins (parents may have higher ids).
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [pid, stat] : all) {
            bool inTree = false, parentIn = false;
            for (pid_t t : tree) {
                inTree = inTree || t == pid;
                parentIn = parentIn || t == stat.Parent;
            }
            if (parentIn && !inTree) {
                tree.push_back(pid);
                grew = true;
            }
        }
    }
    TreeUsage u;
    const long tick = sysconf(_SC_CLK_TCK);
    for (pid_t pid : tree) {
        u.CpuMs += all.at(pid).Ticks * 1000 / tick;
        readStatus(pid, u);
        ++u.Processes;
    }
    return u;
}
