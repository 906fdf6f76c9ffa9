// Input sections 4 to 6: load cases, load combinations and load-versus-depth curves.
#include <string>

#include "input/readinput_parts.h"

namespace torva {

namespace {

// Names of the integer control columns of a load case (nullptr: shown as CASINT(c,k)).
const char* casint_name(int k) {
  switch (k) {
    case 3: return "NTHREQ";
    case 4: return "ISTATIC";
    case 6: return "MAXITFND";
    case 7: return "MAXITLLP";
    case 15: return "NCONC";
    case 16: return "NDIST";
    case 17: return "NV";
    case 18: return "IPRTOPT";
    case 19: return "NPRSTEP";
    case 20: return "IALTTOL";
    case 21: return "IAXVAR";
    case 51: return "IEIPREV";
    default: return nullptr;
  }
}

Fid casint(int c, int k) {
  const char* n = casint_name(k);
  return n ? Fid(n, c) : Fid("CASINT", c, k);
}

const char* const kCasReal[8] = {"",       "TOLCAP",  "TOLPILE", "FACINC",
                                 "FACMIN", "CASREAL", "TOLCAPD", "TOLCAPR"};

Fid casreal(int c, int k) { return k == 5 ? Fid("CASREAL", c, 5) : Fid(kCasReal[k], c); }

void read_case(Model& m, FreeReader& rd, int c) {
  rd.rec();
  for (int k = 1; k <= 7; ++k) rd.i(m.CASINT(c, k), casint(c, k));
  rd.rec();
  for (int k = 1; k <= 4; ++k) rd.r(m.CASREAL(c, k), casreal(c, k), true);
  std::string name;
  if (rd.fixed_line(name, Fid("CASNAME", c))) m.CASNAME(c) = name;
  rd.rec();
  for (int k = 8; k <= 14; ++k) rd.i(m.CASINT(c, k), casint(c, k));
  rd.i(m.IDISP(c), Fid("IDISP", c));
  rd.rec()
      .i(m.CASINT(c, 18), casint(c, 18))
      .i(m.CASINT(c, 19), casint(c, 19))
      .r(m.CASREAL(c, 5), casreal(c, 5), true)
      .i(m.CASINT(c, 20), casint(c, 20))
      .r(m.CASREAL(c, 6), casreal(c, 6))
      .r(m.CASREAL(c, 7), casreal(c, 7))
      .i(m.CASINT(c, 21), casint(c, 21))
      .i(m.CASINT(c, 22), casint(c, 22))
      .i(m.CASINT(c, 51), casint(c, 51));
  rd.rec().i(m.CASINT(c, 23), casint(c, 23));
  rd.rec();
  for (int k = 1; k <= NNODEQ; ++k) rd.i(m.CASINT(c, 25 + k), Fid("CASPRT", c, k));

  int& nconc = m.CASINT(c, 15);
  rd.rec().i(nconc, casint(c, 15));
  if (!within(rd, nconc, casint(c, 15), 0, MAXCONC)) return;
  for (int n = 1; n <= nconc && rd.ok(); ++n) {
    rd.rec();
    for (int k = 1; k <= 9; ++k) rd.r(m.LOAD(c, n, k), Fid("LOAD", c, n, k));
  }
  int& ndist = m.CASINT(c, 16);
  rd.rec().i(ndist, casint(c, 16));
  if (!within(rd, ndist, casint(c, 16), 0, MAXDIST)) return;
  for (int n = 1; n <= ndist && rd.ok(); ++n) {
    rd.rec();
    for (int k = 1; k <= 6; ++k) rd.i(m.DLINT(c, n, k), Fid("DLINT", c, n, k));
    rd.r(m.DLFY(c, n), Fid("DLFY", c, n))
        .i(m.DLINT(c, n, 7), Fid("DLINT", c, n, 7))
        .r(m.DLFZ(c, n), Fid("DLFZ", c, n));
  }
  int& nv = m.CASINT(c, 17);
  rd.rec().i(nv, casint(c, 17));
  if (!within(rd, nv, casint(c, 17), 0, MAXNV)) return;
  for (int n = 1; n <= nv && rd.ok(); ++n) rd.rec().r(m.STFDAT(c, n), Fid("STFDAT", c, n), true);
  if (m.IDISP(c) == 1) {
    rd.rec();
    for (int k = 1; k <= 6; ++k) rd.i(m.ICOND(c, k), Fid("ICOND", c, k));
    rd.rec();
    for (int k = 1; k <= 6; ++k) rd.r(m.SPVAL(c, k), Fid("SPVAL", c, k));
    rd.rec();
    for (int k = 7; k <= 12; ++k) rd.r(m.SPVAL(c, k), Fid("SPVAL", c, k));
    rd.rec();
    for (int k = 13; k <= 15; ++k) rd.r(m.SPVAL(c, k), Fid("SPVAL", c, k));
  }
}

void read_combination(Model& m, FreeReader& rd, int c) {
  rd.rec();
  for (int k = 1; k <= 7; ++k) rd.i(m.CBINT(c, k), Fid("CBINT", c, k));
  rd.rec();
  for (int k = 1; k <= 4; ++k) rd.r(m.CBREAL(c, k), Fid("CBREAL", c, k), true);
  std::string name;
  if (rd.fixed_line(name, Fid("CBNAME", c))) m.CBNAME(c) = name;
  rd.rec()
      .r(m.CBREAL(c, 5), Fid("CBREAL", c, 5))
      .r(m.CBREAL(c, 6), Fid("CBREAL", c, 6))
      .i(m.CBINT(c, 8), Fid("CBINT", c, 8));
  rd.rec()
      .i(m.CBINT(c, 9), Fid("CBINT", c, 9))
      .i(m.CBINT(c, 10), Fid("CBINT", c, 10))
      .i(m.CBINT(c, 11), Fid("CBINT", c, 11))
      .r(m.CBREAL(c, 7), Fid("CBREAL", c, 7))
      .r(m.CBREAL(c, 8), Fid("CBREAL", c, 8))
      .i(m.CBINT(c, 12), Fid("CBINT", c, 12))
      .i(m.CBINT(c, 13), Fid("CBINT", c, 13))
      .i(m.CBINT(c, 41), Fid("CBINT", c, 41));
  rd.rec().i(m.CBINT(c, 14), Fid("CBINT", c, 14));
  rd.rec();
  for (int k = 1; k <= NNODEQ; ++k) rd.i(m.CBINT(c, 15 + k), Fid("CBPRT", c, k));
  // The member count is given twice; the second one is kept and sets the member records.
  int& nmem = m.CBINT(c, 8);
  const Fid fn("member count", c);
  rd.rec().i(nmem, fn);
  if (!within(rd, nmem, fn, 0, MAXMEM)) return;
  for (int n = 1; n <= nmem && rd.ok(); ++n)
    rd.rec().i(m.MEMCASE(c, n), Fid("MEMCASE", c, n)).r(m.MEMFAC(c, n), Fid("MEMFAC", c, n));
}

}  // namespace

void read_loads(Model& m, FreeReader& rd) {
  int spare = 0;
  if (!read_title(m, rd, "LOAD CASES")) return;
  rd.rec()
      .i(m.NLC, "NLC")
      .i(m.IENVREQ(1), Fid("IENVREQ", 1))
      .i(m.IENVOUT(1), Fid("IENVOUT", 1))
      .i(m.IENVSEL(1), Fid("IENVSEL", 1))
      .i(spare, "load-case item 5");
  if (!within(rd, m.NLC, "NLC", 0, MAXLC)) return;
  if (m.IENVREQ(1) > 0) {
    rd.rec();
    for (int k = 1; k <= NNODEQ; ++k) rd.i(m.IPRLC(k), Fid("IPRLC", k));
  }
  for (int c = 1; c <= m.NLC && rd.ok(); ++c) read_case(m, rd, c);

  if (!rd.ok() || !read_title(m, rd, "LOAD COMBINATIONS")) return;
  rd.rec()
      .i(m.NCOMB, "NCOMB")
      .i(m.IENVREQ(2), Fid("IENVREQ", 2))
      .i(m.IENVOUT(2), Fid("IENVOUT", 2))
      .i(m.IENVSEL(2), Fid("IENVSEL", 2))
      .i(spare, "combination item 5");
  if (!within(rd, m.NCOMB, "NCOMB", 0, MAXCOMB)) return;
  if (m.IENVREQ(2) > 0) {
    rd.rec();
    for (int k = 1; k <= NNODEQ; ++k) rd.i(m.IPRCB(k), Fid("IPRCB", k));
  }
  for (int c = 1; c <= m.NCOMB && rd.ok(); ++c) read_combination(m, rd, c);

  if (!rd.ok() || !read_title(m, rd, "LOAD-VERSUS-DEPTH CURVES")) return;
  rd.rec().i(m.NDC, "NDC");
  if (!within(rd, m.NDC, "NDC", 0, MAXDC)) return;
  for (int i = 1; i <= m.NDC && rd.ok(); ++i) {
    rd.rec().i(m.NPDC(i), Fid("NPDC", i));
    if (!within(rd, m.NPDC(i), Fid("NPDC", i), 0, MAXDCPT)) return;
    for (int p = 1; p <= m.NPDC(i) && rd.ok(); ++p) {
      rd.rec().r(m.DCDEP(i, p), Fid("DCDEP", i, p)).r(m.DCVAL(i, p), Fid("DCVAL", i, p));
      if (p > 1 && !ascending(rd, m.DCDEP(i, p), m.DCDEP(i, p - 1), Fid("DCDEP", i, p),
                              "DEPTHS OF A CURVE"))
        return;
    }
  }
}

}  // namespace torva
