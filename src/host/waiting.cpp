#include "host/waiting.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace torva_host {

void wait_passively(char** argv, bool hold_stop_signals) {
  for (const char* v : {"OMP_WAIT_POLICY", "GOMP_SPINCOUNT", "KMP_BLOCKTIME", "KMP_LIBRARY"})
    if (std::getenv(v) != nullptr) return;
  // One thread never waits for another.
  const char* n = std::getenv("OMP_NUM_THREADS");
  if (n != nullptr && std::strcmp(n, "1") == 0) return;
  if (argv == nullptr || argv[0] == nullptr) return;
  if (setenv("OMP_WAIT_POLICY", "passive", 1) != 0) return;
  // A stop signal sent while the new image loads is held back until it can take it (its
  // handlers are gone with this image; a blocked signal stays pending across exec).
  sigset_t stop, was;
  sigemptyset(&stop);
  if (hold_stop_signals)
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stop, sig);
  sigprocmask(SIG_BLOCK, &stop, &was);
  execv("/proc/self/exe", argv);
  sigprocmask(SIG_SETMASK, &was, nullptr);
  unsetenv("OMP_WAIT_POLICY");
}

}  // namespace torva_host
