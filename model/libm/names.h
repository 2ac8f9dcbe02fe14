/* Forced on every file of this folder: its functions take names of their
   own, so that neither the C library's versions nor its internals clash
   with them, natively or in WebAssembly. The model calls them through
   model/mathfn.h. */
#ifndef KELVORA_LIBM_NAMES_H
#define KELVORA_LIBM_NAMES_H

/* The C library's declarations come first, under their own names. */
#include <math.h>

/* Fused multiply-add would change results on the machines that have it. */
#undef __FP_FAST_FMA

#define sin kelvora_libm_sin
#define cos kelvora_libm_cos
#define tan kelvora_libm_tan
#define asin kelvora_libm_asin
#define atan kelvora_libm_atan
#define pow kelvora_libm_pow
#define exp kelvora_libm_exp
#define log kelvora_libm_log
#define log10 kelvora_libm_log10
#define expm1 kelvora_libm_expm1
#define erf kelvora_libm_erf
#define erfc kelvora_libm_erfc

double sin(double);
double cos(double);
double tan(double);
double asin(double);
double atan(double);
double pow(double, double);
double exp(double);
double log(double);
double log10(double);
double expm1(double);
double erf(double);
double erfc(double);

#define __sin kelvora_libm_ksin
#define __cos kelvora_libm_kcos
#define __tan kelvora_libm_ktan
#define __rem_pio2 kelvora_libm_rem_pio2
#define __rem_pio2_large kelvora_libm_rem_pio2_large
#define __math_oflow kelvora_libm_math_oflow
#define __math_uflow kelvora_libm_math_uflow
#define __math_xflow kelvora_libm_math_xflow
#define __math_invalid kelvora_libm_math_invalid
#define __math_divzero kelvora_libm_math_divzero
#define __exp_data kelvora_libm_exp_data
#define __pow_log_data kelvora_libm_pow_log_data
#define __log_data kelvora_libm_log_data

#endif
