#!/usr/bin/python3
"""Writes, with astropy, the spectra the reader and calibration tests read:
the manual's raw example (one sample per pixel) in the forms reduction and
capture software produce, and the forms that must be refused.

    /usr/bin/python3 tests/data/spectra/make_spectra.py   (from the project)

The files are checked in; the tests never run this script.
"""
import os

import numpy as np
from astropy.io import fits

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLE = os.path.join(HERE, "..", "..", "..", "docs", "exemple", "spectre-exemple.fits")

raw = fits.open(EXAMPLE)
WAVE = np.array(raw[1].data["WAVE"], dtype=np.float64)
FLUX = np.array(raw[1].data["FLUX"], dtype=np.float64)
N = len(WAVE)
OBSERVED = {"EXPTIME": 60.0, "AIRMASS": 1.3, "OBJNAME": "HD 000000 (synthetique)",
            "DATE-OBS": "2026-11-30T21:04:00"}


def header(**cards):
    h = fits.Header()
    for key, value in {**OBSERVED, **cards}.items():
        if value is None:
            h.remove(key, ignore_missing=True)
        else:
            h[key] = value
    return h


def table(name, vector=False, columns=("WAVELENGTH", "FLUX"), flux=FLUX, extension=None, unit="adu",
          **cards):
    wave_col, flux_col = columns
    if vector:
        cols = [fits.Column(name=wave_col, format=f"{N}D", unit="Angstrom", array=WAVE[None, :]),
                fits.Column(name=flux_col, format=f"{N}E", unit=unit, array=flux[None, :])]
    else:
        cols = [fits.Column(name=wave_col, format="D", unit="Angstrom", array=WAVE),
                fits.Column(name=flux_col, format="E", unit=unit, array=flux)]
    tab = fits.BinTableHDU.from_columns(cols)
    for key, value in (extension or {}).items():
        tab.header[key] = value
    hdus = [fits.PrimaryHDU(header=header(**cards)), tab]
    fits.HDUList(hdus).writeto(os.path.join(HERE, name), overwrite=True)


def image(name, data, **cards):
    fits.PrimaryHDU(data=data.astype(np.float32), header=header(**cards)).writeto(
        os.path.join(HERE, name), overwrite=True)


def resample(grid):
    """Counts per new sample, as a flux-keeping resampler gives them: the
    interpolated counts per pixel times the new step over the pixel's width."""
    width = np.gradient(WAVE)
    return np.interp(grid, WAVE, FLUX) * np.gradient(grid) / np.interp(grid, WAVE, width)


def linear():
    grid = np.linspace(WAVE[0], WAVE[-1], N)
    return grid, resample(grid)


def linear_axis(grid):
    return {"CTYPE1": "WAVE", "CUNIT1": "Angstrom", "CRPIX1": 1.0, "CRVAL1": grid[0],
            "CDELT1": (grid[-1] - grid[0]) / (N - 1)}


# Read and calibrated.
table("table-gain120-egain1.fits", GAIN=120.0, EGAIN=1.0, XBINNING=1, YBINNING=1)
table("table-vecteur.fits", vector=True, columns=("LAMBDA", "COUNTS"), EGAIN=1.0)
table("table-altitude.fits", AIRMASS=None, CENTALT=50.28, EGAIN=1.0)
table("table-gain139.fits", GAIN=139.0)
table("table-binning2.fits", EGAIN=1.0, XBINNING=2, YBINNING=2)
# A vector table of two rows, each half the spectrum: read end to end.
half = N // 2
cols = [fits.Column(name="WAVELENGTH", format=f"{half}D", unit="Angstrom",
                    array=WAVE[:2 * half].reshape(2, half)),
        fits.Column(name="FLUX", format=f"{half}E", unit="adu", array=FLUX[:2 * half].reshape(2, half))]
fits.HDUList([fits.PrimaryHDU(header=header(EGAIN=1.0)), fits.BinTableHDU.from_columns(cols)]).writeto(
    os.path.join(HERE, "table-vecteur-2-rangs.fits"), overwrite=True)
# Columns a spectrum cannot hold come first (quality bits, a complex phase,
# pixel coordinates): the wavelength and flux are found past them.
odd = [fits.Column(name="QUALITY", format="11X", array=np.zeros((N, 11), dtype=bool)),
       fits.Column(name="PIXEL", format="3I", array=np.zeros((N, 3), dtype=np.int16)),
       fits.Column(name="PHASE", format="M", array=np.zeros(N, dtype=np.complex128)),
       fits.Column(name="WAVELENGTH", format="D", unit="Angstrom", array=WAVE),
       fits.Column(name="FLUX", format="E", unit="adu", array=FLUX)]
fits.HDUList([fits.PrimaryHDU(header=header(EGAIN=1.0)), fits.BinTableHDU.from_columns(odd)]).writeto(
    os.path.join(HERE, "table-colonnes-diverses.fits"), overwrite=True)
# The table's own header says other figures: they stand over the primary's.
table("table-deux-entetes.fits", EGAIN=1.0, extension={"EXPTIME": 30.0, "EGAIN": 2.0})
grid, resampled = linear()
image("lineaire.fits", resampled, EGAIN=1.0, **linear_axis(grid))
step = np.log(WAVE[-1] / WAVE[0]) / (N - 1)
log_grid = WAVE[0] * np.exp(step * np.arange(N))
image("log-lineaire.fits", resample(log_grid), EGAIN=1.0, CTYPE1="WAVE-LOG",
      CUNIT1="Angstrom", CRPIX1=1.0, CRVAL1=WAVE[0], CDELT1=WAVE[0] * step)
image("iraf-log10.fits", resample(log_grid), EGAIN=1.0, CTYPE1="LINEAR",
      CRPIX1=1.0, CRVAL1=np.log10(WAVE[0]), CDELT1=step / np.log(10), **{"DC-FLAG": 1})
bands = np.stack([resampled, resampled, np.zeros(N), np.sqrt(np.abs(resampled))])[:, None, :]
dw = (grid[-1] - grid[0]) / (N - 1)
wat2 = f'wtype=multispec spec1 = "1 1 0 {grid[0]!r} {dw!r} {N} 0. 1. 1."'
multispec = {"CTYPE1": "MULTISPE", "CTYPE2": "MULTISPE", "WAT0_001": "system=multispec",
             "WAT1_001": "wtype=multispec label=Wavelength units=angstroms", "EGAIN": 1.0}
for i in range(0, len(wat2), 68):
    multispec[f"WAT2_{i // 68 + 1:03d}"] = wat2[i:i + 68]
image("multispec.fits", bands, **multispec)
# The same with a redshift z = 0.0005 declared: λ = w / (1 + z).
wat2z = f'wtype=multispec spec1 = "1 1 0 {grid[0]!r} {dw!r} {N} 0.0005 1. 1."'
image("multispec-z.fits", bands, **{**multispec, "WAT2_001": wat2z[:68], "WAT2_002": wat2z[68:]})
# Log-linear (dtype 1): w = log10 λ, on the log grid.
log_bands = np.stack([resample(log_grid), resample(log_grid), np.zeros(N),
                      np.sqrt(np.abs(resample(log_grid)))])[:, None, :]
w0, dlog = np.log10(WAVE[0]), step / np.log(10)
wat2log = f'wtype=multispec spec1 = "1 1 1 {w0!r} {dlog!r} {N} 0. 1. 1."'
image("multispec-log.fits", log_bands,
      **{**multispec, **{f"WAT2_{i // 68 + 1:03d}": wat2log[i:i + 68] for i in range(0, len(wat2log), 68)}})

# Refused, each for its reason.
image("echelle.fits", np.stack([resampled, resampled, resampled]), **multispec)
image("flux-erg.fits", resampled * 3.2e-17, BUNIT="erg/cm2/s/A", **linear_axis(grid))
image("flux-sans-unite.fits", resampled * 3.2e-17, EGAIN=1.0, **linear_axis(grid))
continuum = np.convolve(resampled, np.ones(301) / 301, mode="same")
continuum[:150], continuum[-150:] = continuum[150], continuum[-151]
image("normalise.fits", resampled / continuum, **linear_axis(grid))
image("vitesse.fits", resampled, CTYPE1="VRAD", CUNIT1="km/s", CRPIX1=1.0, CRVAL1=-500.0,
      CDELT1=0.5)
image("negatif.fits", resampled - 2 * np.median(resampled), EGAIN=1.0, **linear_axis(grid))

# The header as pipelines write it, each read as the standard says or said:
# EGAIN over the design's gain; a rate multiplied by the exposure; electrons
# at gain 1 whatever EGAIN says; two exposures that differ; an impossible one.
table("table-egain025.fits", flux=FLUX * 4, EGAIN=0.25)
table("table-adu-s.fits", flux=FLUX / 60, unit="adu/s", EGAIN=1.0)
table("table-electrons.fits", unit="electron", EGAIN=2.0)
table("table-exptime-conflict.fits", EGAIN=1.0, EXPTIME=30.0, EXPOSURE=60.0)
table("table-exptime-zero.fits", EGAIN=1.0, EXPTIME=0.0)

# The linear axis as the standard defines it, in its three forms: CD1_1 over
# a CDELT1 that disagrees (CDELT1 is then ignored), PC1_1 × CDELT1, and no
# CRPIX1 (0 by default). astropy's WCS gives every pixel's wavelength, which
# the reader must give too (wcs-attendu.txt: file, pixel from 0, λ in Å).
from astropy import units as u
from astropy.wcs import WCS

dw = (grid[-1] - grid[0]) / (N - 1)
forms = {
    "wcs-cd.fits": {**linear_axis(grid), "CDELT1": 1.6 * dw, "CD1_1": dw},
    "wcs-pc.fits": {**linear_axis(grid), "CDELT1": dw / 2, "PC1_1": 2.0},
    "wcs-sans-crpix.fits": {**{k: v for k, v in linear_axis(grid).items() if k != "CRPIX1"},
                            "CRVAL1": grid[0] - dw},
}
with open(os.path.join(HERE, "wcs-attendu.txt"), "w") as expected:
    expected.write("# fichier pixel lambda_a (astropy.wcs.WCS, all_pix2world)\n")
    for name, axis in forms.items():
        image(name, resampled, EGAIN=1.0, **axis)
    # And the resampled files above whose axis the standard's WCS describes.
    for name in [*forms, "lineaire.fits", "log-lineaire.fits"]:
        w = WCS(fits.getheader(os.path.join(HERE, name)))
        world = w.all_pix2world(np.arange(N, dtype=np.float64), 0)[0]
        lam = (world * u.Unit(w.wcs.cunit[0])).to_value(u.AA)
        for i, value in enumerate(lam):
            expected.write(f"{name} {i} {value!r}\n")


def columns_before(name, names):
    """The flux column after others a pipeline writes first."""
    cols = [fits.Column(name="WAVELENGTH", format="D", unit="Angstrom", array=WAVE)]
    for other in names:
        cols.append(fits.Column(name=other, format="E", unit="adu",
                                array=FLUX if other == "FLUX" else FLUX * 0.025))
    fits.HDUList([fits.PrimaryHDU(header=header(EGAIN=1.0)),
                  fits.BinTableHDU.from_columns(cols)]).writeto(os.path.join(HERE, name), overwrite=True)


# The error, the sky and a normalisation before the flux: the flux is read.
columns_before("table-erreurs-avant.fits", ["FLUX_ERR", "FLUXERR", "FLUX_SKY", "FLUX_NORM", "FLUX"])
# Two fluxes and no way to tell: refused, naming both.
columns_before("table-deux-flux.fits", ["FLUX_A", "FLUX_B"])


def extensions(name, parts):
    """A primary 2-D frame, then 1-D image extensions (EXTNAME, data)."""
    frame = fits.PrimaryHDU(data=np.tile(FLUX.astype(np.float32), (3, 1)), header=header(EGAIN=1.0))
    hdus = [frame]
    for extname, data in parts:
        ext = fits.ImageHDU(data=data.astype(np.float32), name=extname)
        for key, value in linear_axis(grid).items():
            ext.header[key] = value
        hdus.append(ext)
    fits.HDUList(hdus).writeto(os.path.join(HERE, name), overwrite=True)


# The frame, the sky, then the star's spectrum, named: the spectrum is read.
extensions("images-ciel-spectre.fits", [("SKY", resampled * 0.3), ("SPECTRUM", resampled)])
# Two unnamed 1-D spectra: not chosen between.
extensions("images-deux-spectres.fits", [("A", resampled), ("B", resampled * 0.3)])
# The frame alone: three rows are no extracted spectrum.
extensions("images-trois-rangees.fits", [])


# Wavelengths written to 0.1 Å, as many programs print them: the step is
# the wavelength solution's, not the rounded differences'.
rounded = [fits.Column(name="WAVELENGTH", format="D", unit="Angstrom", array=np.round(WAVE, 1)),
           fits.Column(name="FLUX", format="E", unit="adu", array=FLUX)]
fits.HDUList([fits.PrimaryHDU(header=header(EGAIN=1.0)),
              fits.BinTableHDU.from_columns(rounded)]).writeto(
    os.path.join(HERE, "table-arrondie.fits"), overwrite=True)

# Two orders in vector rows, as a pipeline's x1d table holds them: they
# overlap in wavelength, and are refused as orders.
half = N // 2
orders = [fits.Column(name="WAVELENGTH", format=f"{half}D", unit="Angstrom",
                      array=np.stack([WAVE[:half], WAVE[half // 2:half // 2 + half]])),
          fits.Column(name="FLUX", format=f"{half}E", unit="adu",
                      array=np.stack([FLUX[:half], FLUX[half // 2:half // 2 + half]]))]
fits.HDUList([fits.PrimaryHDU(header=header(EGAIN=1.0)),
              fits.BinTableHDU.from_columns(orders)]).writeto(
    os.path.join(HERE, "table-deux-ordres.fits"), overwrite=True)
