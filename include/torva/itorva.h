/* torva: analysis engine of pile foundations under a rigid cap.
 * ITORVA(3) runs one analysis in the working directory (files named by "Names.dat")
 * and returns its status code: 0 completed, 4 stopped on request, other codes errors.
 * Any other argument returns 1 at once. */
#ifndef TORVA_ITORVA_H
#define TORVA_ITORVA_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(TORVA_BUILDING_LIBRARY)
#define TORVA_API __attribute__((visibility("default")))
#else
#define TORVA_API
#endif

TORVA_API int ITORVA(int mode);

#ifdef __cplusplus
}
#endif

#endif
