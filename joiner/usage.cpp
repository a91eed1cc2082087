#include "joiner/usage.h"

#include "joiner/console_print.h"

namespace vornel::joiner {

void print_usage(std::ostream& out) {
  out << "\nQBT_vornel is run by keying in the command line:\n\n"
         "        QBT_vornel [-L outlevel] [-S s,w,co,cl] [-D lv,mu_size]\n"
         "        [-c] [-s] [-WR pixel_size] [-W d_tol,l_tol,a_tol]\n"
         "        [-Z zero_in] [-C] [-Ax ] [-z] [-g] [-p]\n"
         "        [-B[C] interval#,minPCT,maxPct,breakLimit,minLength]\n"
         "        [-sc curve_stroke_tolerance] [-sa arc_stroke_tolerance]\n"
         "        [-V #vertices] [-f] [-F dgnname] [-M] [-zc value,color]\n\n"
         "        subject to the definitions in the README file\n\n";
}

void print_start_banner(std::ostream& out) {
  print(out, "\nInterpreting vornel (version %.1f) command line arguments .....\n\n", kVornelVersion);
}

void print_running_banner(std::ostream& out) {
  print(out, "\nRUNNING QBT_vornel (version %.1f) .....\n", kVornelVersion);
}

}  // namespace vornel::joiner
