#include "bench/wine_client.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

const char *wineModule = "?";

bool StartWine(const std::string &command, WineHost *h)
{
    int in[2], out[2];
    if (pipe(in) || pipe(out))
        Fail("no pipes");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    std::string c = command;  // argv wants characters it may write
    char sh[] = "/bin/sh", dashC[] = "-c";
    char *argv[] = {sh, dashC, &c[0], NULL};
    int failed = posix_spawn(&h->pid, sh, &actions, NULL, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    h->requests = fdopen(in[1], "w");
    h->answers = fdopen(out[0], "r");
    return !failed && h->requests && h->answers;
}

bool WineRound(WineHost *h, Result *r)
{
    fprintf(h->requests, "%s %zu %s\n", r->mode, r->lines, r->pattern ? r->pattern : "");
    fflush(h->requests);
    char line[512], mode[64];
    size_t lines;
    double ms, phase[4];
    unsigned long long hash;
    if (!fgets(line, sizeof line, h->answers))
        return false;
    if (sscanf(line, "wine mode=%63s lines=%zu ms=%lf hash=%llx keys=%lf table=%lf sort=%lf output=%lf", mode,
               &lines, &ms, &hash, &phase[0], &phase[1], &phase[2], &phase[3]) != 8) {
        fputs(line, stderr);
        return false;
    }
    double *best[4] = {&r->wineKeys, &r->wineTable, &r->wineSort, &r->wineOutput};
    for (int i = 0; i < 4; i++)
        *best[i] = r->wine == 0 ? phase[i] : Min(*best[i], phase[i]);
    if (r->wine == 0)
        r->wineHash = hash;
    else if (hash != r->wineHash)
        r->wineHash = ~r->hash;  // unstable output: reported as wrong
    r->wine = r->wine == 0 ? ms : Min(r->wine, ms);
    return true;
}

void StopWine(WineHost *h)
{
    fclose(h->requests);
    fclose(h->answers);
    int status;
    waitpid(h->pid, &status, 0);
}
