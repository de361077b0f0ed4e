/*
 * vsip.h - the header standard VSIPL programs include: the libqvsip interface (qvsip.h) and the
 * standard's remaining constants and types. Every function is declared in qvsip.h.
 */
#ifndef VSIP_H
#define VSIP_H

#include "qvsip.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VSIP_PI 3.14159265358979323846

/* Range of vsip_scalar_i. */
#define VSIP_MAX_SCALAR_I INT32_MAX
#define VSIP_MIN_SCALAR_I INT32_MIN

#ifdef __cplusplus
}
#endif

#endif /* VSIP_H */
