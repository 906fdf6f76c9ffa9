#include "capfe/capfedrv.h"

#include <cerrno>
#include <string>

#include "capfe/capfem.h"
#include "capfe/pilesprings.h"
#include "capfe/platerun.h"
#include "io/fileset.h"
#include "model/messages.h"
#include "model/model.h"
#include "model/status.h"

namespace torva {

namespace {

std::string padded(const std::string& s, std::size_t w) {
  return s.size() >= w ? s : s + std::string(w - s.size(), ' ');
}

}  // namespace

FeNames fe_file_names(const Model& m) {
  const std::string base = plate_base(m.fname(R_INPUT));
  FeNames names;
  names.fedata = base + ".fem";
  names.felist = base + ".fel";
  names.feresult = base + ".fer";
  names.felog = base + ".flg";
  names.femodel = base + ".fmd";
  names.femodelkw = base + ".fkw";
  return names;
}

bool fe_names(Model& m, FeNames& names, int& status) {
  names = fe_file_names(m);
  for (const std::string* n : {&names.fedata, &names.felist, &names.feresult, &names.felog, &names.femodel,
                               &names.femodelkw}) {
    for (int k = 0; k < NROLES; ++k) {
      if (*n != m.fname(FileRole(k))) continue;
      emit(m, TO_REPORT | TO_RUNLOG,
           " **** FATAL ERROR **** PLATE MODEL FILE " + *n + " IS ALSO A FILE OF THE RUN");
      if (status == 0) status = ST_FEMODEL;
      return false;
    }
  }
  return true;
}

void FEFILES(Model& m, const FeNames& names, int& status) {
  TextFile f;
  if (!f.open_write(FENAMES_FILE)) return plate_file_failed(m, status, ST_FILEOPEN, FENAMES_FILE, errno);
  // Each name on a line of at least 75 characters; a longer name is written whole.
  for (const std::string& n : {m.fname(R_PLOTOUT), names.fedata, names.felist, names.feresult, names.felog})
    f.line(padded(n, 75));
  f.close();
  if (f.write_failed()) plate_file_failed(m, status, ST_FILEWRITE, FENAMES_FILE, f.write_errno());
}

void CAPFEDRV(Model& m, const double loads[6], int& status, PlateOutcome* outcome,
              const std::function<bool()>& stop, const PileSprings* piles) {
  if (outcome != nullptr) *outcome = PlateOutcome{};
  if (m.IFEOPT == 2) {
    CAPMODEL(m, loads, status);
    return;
  }
  FeNames names;
  if (!fe_names(m, names, status)) return;
  m.PLOTOUT.free(std::to_string(m.ISTFOP));
  m.PLOTOUT.free(std::to_string(m.NROW) + " 1 " + std::to_string(m.IUNITS));
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl().nl().nl();
    f->X(17).A("*****").X(5).A("COMPUTATION RESULTS").X(5).A("*****").nl();
    f->nl();
    f->nl().nl().nl();
    f->X(5).A("* TABLE I *   COMPUTATION ON INDIVIDUAL PILE").nl();
  }
  if (m.IREDFAC == 1) {
    // The rigid cap estimates these factors anew from its movement at every iteration;
    // the plate's piles keep the ones the input echo estimated.
    for (const char* l : {"     ** WARNING **  PLATE MODEL OF THE CAP: THE REDUCTION FACTORS FOR CLOSELY-SPACED PILES",
                          "                    ARE THOSE ESTIMATED FROM THE LOAD DIRECTION OF LOAD CASE 1;",
                          "                    THEY DO NOT FOLLOW THE MOVEMENT OF THE CAP"})
      emit(m, TO_REPORT | TO_RUNLOG, l);
  }
  FEFILES(m, names, status);
  if (status != 0) return;
  // The pile springs run as in an ordinary iteration of the cap analysis: no results pass.
  m.IOPASS = 0;
  if (piles != nullptr) {
    CAPFEM(m, *piles, status, outcome, stop);
  } else {
    const RunPileSprings run_piles;
    CAPFEM(m, run_piles, status, outcome, stop);
  }
}

}  // namespace torva
