"""pyFFTW on the FFTW 3 interface libraries.

Run with libqvsip_fftw3 and libqvsip_fftw3f preloaded, so that every fftw_
and fftwf_ call pyFFTW makes (planners, executes, threads, wisdom) reaches
them; long double stays with the original library. Results are checked
against numpy.fft and scipy.fft computed in double precision from the same
input values.
"""

import ctypes
import itertools
import math
import os
import unittest

import numpy as np
import pyfftw
import pyfftw.builders as builders
import pyfftw.interfaces.numpy_fft as numpy_fft
import pyfftw.interfaces.scipy_fft as scipy_fft
import scipy.fft

# How our version and wisdom texts start (with the version when CTest sets it).
VERSION = os.environ.get("QVSIP_FFTW3_VERSION")
OURS = f"qvsip-{VERSION}" if VERSION else "qvsip-"
LENGTHS = (1, 2, 7, 16, 97, 100, 128, 1009)
REALS = (np.float32, np.float64)
COMPLEX = {np.float32: np.complex64, np.float64: np.complex128}
# (threads, planner effort): ours never measures but takes every effort.
PLANNING = ((1, "FFTW_ESTIMATE"), (2, "FFTW_MEASURE"))
# Transform -> input: complex, real, or the half spectrum of a real array.
INPUT = {
    "fft": "complex", "ifft": "complex", "rfft": "real", "irfft": "half",
    "fft2": "complex", "fftn": "complex", "ifftn": "complex",
    "rfftn": "real", "irfftn": "half",
}
# n-dimensional (shape, axes): whole arrays and batches along each axis.
SHAPES = (
    ((16, 7), None),
    ((16, 7), (-1, -2)),
    ((1, 97), None),
    ((5, 8, 6), None),
    ((5, 8, 6), (0, 2)),
    ((5, 8, 6), (2, 1)),
    ((12, 1, 10), (0, 1)),
    ((9, 4, 3), (0,)),
)
RNG = np.random.default_rng(20261209)


def random(shape, dtype):
    x = RNG.standard_normal(shape)
    if np.issubdtype(dtype, np.complexfloating):
        x = x + 1j * RNG.standard_normal(shape)
    return x.astype(dtype)


def make_input(name, shape, axes, real):
    kind = INPUT[name]
    if kind == "complex":
        return random(shape, COMPLEX[real])
    if kind == "real":
        return random(shape, real)
    half = np.fft.rfftn(RNG.standard_normal(shape), axes=axes)
    return half.astype(COMPLEX[real])


def in_double(x):
    return x.astype(np.complex128 if np.iscomplexobj(x) else np.float64)


def at_offset(x, offset):
    """A copy of x starting `offset` bytes past a 64-byte boundary."""
    buf = pyfftw.empty_aligned(x.nbytes + offset, dtype=np.uint8, n=64)
    view = buf[offset:].view(x.dtype).reshape(x.shape)
    view[...] = x
    return view


def misaligned(x):
    """A copy of x one real number past a 64-byte boundary."""
    real_size = np.dtype(x.dtype).itemsize // (1 + np.iscomplexobj(x))
    return at_offset(x, real_size)


def version_text(name):
    # The version is a char array, not a pointer: read the string there.
    symbol = ctypes.c_char.in_dll(ctypes.CDLL(None), name)
    return ctypes.string_at(ctypes.addressof(symbol)).decode()


def one_d_cases():
    names = ("fft", "ifft", "rfft", "irfft")
    for name, n, axis in itertools.product(names, LENGTHS, (0, -1)):
        shape = (n, 3) if axis == 0 else (3, n)
        layout = {"n": n if INPUT[name] == "half" else None, "axis": axis}
        yield name, shape, (axis,), layout


def n_d_cases():
    names = ("fft2", "fftn", "ifftn", "rfftn", "irfftn")
    for name, (shape, axes) in itertools.product(names, SHAPES):
        axes = axes if axes is not None else tuple(range(len(shape)))
        if name == "fft2" and len(axes) != 2:
            continue
        s = tuple(shape[a] for a in axes) if INPUT[name] == "half" else None
        yield name, shape, axes, {"s": s, "axes": axes}


class PyFFTWClient(unittest.TestCase):
    # Every call gets its own copy of the input: plans may destroy it
    # (pyFFTW makes multi-dimensional complex-to-real plans with
    # FFTW_DESTROY_INPUT on the caller's array).

    def check(self, got, want, real, size):
        """Largest error relative to the largest oracle magnitude."""
        tol = 40 * np.finfo(real).eps * (1 + math.log2(max(size, 1)))
        self.assertEqual(got.shape, want.shape)
        self.assertEqual(np.real(got).dtype, real)
        scale = max(np.abs(want).max(initial=0), 1e-300)
        err = np.abs(in_double(got) - want).max(initial=0) / scale
        self.assertLessEqual(err, tol, f"relative error {err:.3g}")

    def test_reports_our_library(self):
        for name in ("fftw_version", "fftwf_version"):
            with self.subTest(name=name):
                text = version_text(name)
                self.assertTrue(text.startswith(OURS), text)

    def test_transforms(self):
        # Each transform through the builders and both interfaces.
        cases = itertools.product(
            itertools.chain(one_d_cases(), n_d_cases()), REALS, PLANNING)
        for (name, shape, axes, layout), real, (threads, effort) in cases:
            x = make_input(name, shape, axes, real)
            want = getattr(np.fft, name)(in_double(x), **layout)
            size = math.prod(shape[a] for a in axes)
            planning = {"threads": threads, "planner_effort": effort}
            build = getattr(builders, name)
            calls = {
                "builder": lambda a: build(a, **layout, **planning)(),
                "numpy_fft": lambda a: getattr(numpy_fft, name)(
                    a, **layout, **planning),
                "scipy_fft": lambda a: getattr(scipy_fft, name)(
                    a, **layout, workers=threads, planner_effort=effort),
            }
            for interface, call in calls.items():
                with self.subTest(interface=interface, transform=name,
                                  shape=shape, axes=axes, dtype=real.__name__,
                                  threads=threads, effort=effort):
                    self.check(call(x.copy()), want, real, size)

    def test_real_to_real(self):
        # DCT and DST types 1-4 are the kinds REDFT00..11 and RODFT00..11;
        # scipy.fft computes them on its own.
        cases = itertools.product(("dct", "dst"), (1, 2, 3, 4), LENGTHS,
                                  (0, -1), REALS, PLANNING)
        for name, kind, n, axis, real, (threads, effort) in cases:
            if name == "dct" and kind == 1 and n == 1:
                continue  # undefined for one point
            x = random((n, 2) if axis == 0 else (2, n), real)
            want = getattr(scipy.fft, name)(in_double(x), type=kind,
                                            axis=axis)
            calls = {
                "builder": lambda a: getattr(builders, name)(
                    a, type=kind, axis=axis, threads=threads,
                    planner_effort=effort)(),
                "scipy_fft": lambda a: getattr(scipy_fft, name)(
                    a, type=kind, axis=axis, workers=threads,
                    planner_effort=effort),
            }
            for interface, call in calls.items():
                with self.subTest(interface=interface, transform=name,
                                  type=kind, n=n, axis=axis,
                                  dtype=real.__name__, threads=threads):
                    self.check(call(x.copy()), want, real, 2 * n)
        cases = itertools.product(("dctn", "dstn"), (1, 2, 3, 4), REALS)
        for name, kind, real in cases:
            with self.subTest(interface="scipy_fft", transform=name,
                              type=kind, dtype=real.__name__):
                x = random((6, 5, 4), real)
                want = getattr(scipy.fft, name)(in_double(x), type=kind,
                                                axes=(0, 2))
                got = getattr(scipy_fft, name)(x.copy(), type=kind,
                                               axes=(0, 2), workers=2)
                self.check(got, want, real, 2 * 6 * 2 * 4)

    def test_alignment(self):
        # Plans on aligned, misaligned and 32-mod-64 input; pyFFTW plans
        # misaligned input with FFTW_UNALIGNED, the others without.
        directions = {"fft": "FFTW_FORWARD", "rfft": "FFTW_FORWARD",
                      "irfft": "FFTW_BACKWARD"}
        cases = itertools.product(directions, (7, 16, 100), REALS)
        for name, n, real in cases:
            x = make_input(name, (4, n), (-1,), real)
            want = getattr(np.fft, name)(in_double(x), n=n)
            out_dtype = real if name == "irfft" else COMPLEX[real]
            arrays = {
                "aligned": pyfftw.byte_align(x.copy(), n=64),
                "misaligned": misaligned(x),
                "offset 32": at_offset(x, 32),
            }
            for label, a in arrays.items():
                with self.subTest(transform=name, n=n, dtype=real.__name__,
                                  input=label):
                    out = pyfftw.empty_aligned(want.shape, dtype=out_dtype,
                                               n=64)
                    plan = pyfftw.FFTW(
                        a, out, direction=directions[name], threads=2,
                        flags=("FFTW_ESTIMATE", "FFTW_DESTROY_INPUT"))
                    self.assertEqual("FFTW_UNALIGNED" in plan.flags,
                                     label == "misaligned")
                    self.check(plan(), want, real, n)

    def test_new_arrays(self):
        # One plan executed on arrays other than the ones it was made for:
        # __call__ with input_array, update_arrays then execute, and inputs
        # that __call__ copies in because their alignment or type differ.
        n = 97
        cases = itertools.product(("fft", "rfft", "irfft", "dct"), REALS,
                                  (1, 2))
        for name, real, threads in cases:
            size = {"n": n} if name == "irfft" else {}

            def make():
                if name == "dct":
                    x = random((3, n), real)
                else:
                    x = make_input(name, (3, n), (-1,), real)
                return pyfftw.byte_align(x, n=64)

            def oracle(x):
                if name == "dct":
                    return scipy.fft.dct(in_double(x), type=2)
                return getattr(np.fft, name)(in_double(x), **size)

            with self.subTest(transform=name, dtype=real.__name__,
                              threads=threads):
                plan = getattr(builders, name)(make(), **size,
                                               threads=threads,
                                               avoid_copy=True)
                x = make()
                want = oracle(x)
                self.check(plan(input_array=x).copy(), want, real, n)

                x = make()
                want = oracle(x)
                out = pyfftw.empty_aligned(plan.output_shape,
                                           dtype=plan.output_dtype, n=64)
                plan.update_arrays(x, out)
                plan.execute()
                self.assertIs(plan.output_array, out)
                # execute() does not scale; __call__ does for inverses.
                scale = n if name == "irfft" else 1
                self.check(out / scale, want, real, n)

                x = make()
                want = oracle(x)
                for copied in (misaligned(x), in_double(x)):
                    got = plan(input_array=copied).copy()
                    self.check(got, want, real, n)

    def test_wisdom(self):
        exported = pyfftw.export_wisdom()
        self.assertIsInstance(exported, tuple)
        self.assertEqual(len(exported), 3)
        for text, precision in zip(exported, ("double", "single")):
            self.assertTrue(text.startswith(f"({OURS}".encode()), text)
            self.assertIn(precision.encode(), text)
        self.assertEqual(pyfftw.import_wisdom(exported)[:2], (True, True))
        self.assertEqual(pyfftw.export_wisdom()[:2], exported[:2])
        # The original library's documents are well formed too; junk is
        # refused.
        original = (b"(fftw-3.3.10 fftw_wisdom #x3c273403 #x192df114"
                    b" #x4d08727c #xe98e9b9d\n  (fftw_codelet_n1_16 0"
                    b" #x1040 #x1040 #x0 #x1 #x2 #x3 #x4)\n)\n")
        imported = pyfftw.import_wisdom((original, original, exported[2]))
        self.assertEqual(imported[:2], (True, True))
        imported = pyfftw.import_wisdom((b"junk", b"(open", exported[2]))
        self.assertEqual(imported[:2], (False, False))
        pyfftw.forget_wisdom()
        self.assertEqual(pyfftw.export_wisdom()[:2], exported[:2])
        # Plans made afterwards still compute.
        x = random(16, np.complex64)
        want = np.fft.fft(in_double(x))
        self.check(builders.fft(x)(), want, np.float32, 16)


if __name__ == "__main__":
    unittest.main()
