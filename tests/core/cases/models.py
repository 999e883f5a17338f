#!/usr/bin/python3
# The expected values of models.cases, computed with numpy from each row's own points and transforms, apart
# from the C++ code. It prints the fit and transform rows as they must read there:
#   /usr/bin/python3 tests/core/cases/models.py | diff - <(grep -E '^[^#].*\| (fit|transform) \|' tests/core/cases/models.cases)
# Fits: Gauss-Newton on the residuals from zero (exact for the linear models after one step), the Jacobian by
# complex steps; the gradient of the squared residuals must vanish at the result. The C++ fit solves its own
# SVD on differently scaled coordinates. Closest frames: least squares over a 400 x 400-node Gauss-Legendre
# grid (C++: 16 panels of 8 nodes each way, linear models along the middle lines).
import re
import numpy as np

W, H, TPP = 60000.0, 40000.0, 15.0
CORNERS = [(0, 0), (W, 0), (0, H), (W, H)]


def text(v, digits=11):
    t = f"{v:.{digits}f}".rstrip("0").rstrip(".")
    return "0" if t in ("", "-0") else t


def gauss_newton(f, h):
    for _ in range(60):
        jac = np.array([f(h + 1e-30j * e).imag * 1e30 for e in np.eye(len(h))]).T
        h = h + np.linalg.lstsq(jac, -f(h).real, rcond=None)[0]
    assert np.linalg.norm(jac.T @ f(h).real) <= 1e-11 * np.linalg.norm(jac) * (1 + np.linalg.norm(f(h).real))
    return h


def thickness(p):  # the largest distance from the principal line through the centre
    c = p - p.mean(axis=0)
    return np.max(np.abs(c @ np.linalg.svd(c)[2][-1]))


def spread(p):
    return np.sqrt(np.mean(np.sum((p - p.mean(axis=0)) ** 2, axis=1)))


# X, Y of a picture position u, v (centred, in 1e4 twips) and the number of unknowns. A Helmert model is a
# similarity: s = 1 reverses the orientation (the picture's y grows down, a map's Y up), s = -1 keeps it.
MODELS = {"helmert": (lambda h, u, v, s: (h[0] * u + s * h[1] * v + h[2], h[1] * u - s * h[0] * v + h[3]), 4),
          "affine": (lambda h, u, v, s: (h[0] * u + h[1] * v + h[2], h[3] * u + h[4] * v + h[5]), 6),
          "projective": (lambda h, u, v, s: ((h[0] * u + h[1] * v + h[2]) / (h[6] * u + h[7] * v + 1),
                                             (h[3] * u + h[4] * v + h[5]) / (h[6] * u + h[7] * v + 1)), 8)}


def fit(kind, on):  # the points decide a Helmert model's handedness unless they lie on a line
    (g, n), pc, mc = MODELS[kind.split()[0]], on[:, :2].mean(axis=0), on[:, 2:].mean(axis=0)
    u, v = ((on[:, :2] - pc) / 1e4).T
    hint = -1 if kind.endswith("picture") else 1
    fits = []
    for s in [hint] if thickness(on[:, :2]) <= TPP / 2 or n != 4 else [hint, -hint]:
        residuals = lambda h: np.concatenate(g(h, u, v, s)) - np.concatenate((on[:, 2:] - mc).T)
        h = gauss_newton(residuals, np.zeros(n))
        fits.append((np.sum(residuals(h).real ** 2), s, h))
    _, s, h = min(fits, key=lambda f: f[0])
    return (lambda x, y: np.add(mc, g(h, (x - pc[0]) / 1e4, (y - pc[1]) / 1e4, s))), h, pc


def residual(model, x, y, X, Y):  # known minus fitted in map units; in pixels, where (X, Y) lies minus the press
    at = gauss_newton(lambda q: np.array(model(*q)) - (X, Y), np.array([x, y]))
    return np.subtract((X, Y), model(x, y)), (at - (x, y)) / TPP


def fit_numbers(kind, pts, expected, digits):
    on = pts[pts[:, 4] == 1, :4]
    model = fit(kind, on)[0]
    rms = np.sqrt(np.mean([(d @ d, px @ px) for d, px in (residual(model, *q) for q in on)], axis=0))
    numbers = [" ".join(text(c, digits) for xy in CORNERS for c in model(*xy)), " ".join(text(r, digits) for r in rms)]
    if expected.count(";") > 1:
        numbers += [" ".join(text(c, digits) for c in (*d, *px)) for d, px in (residual(model, *q[:4]) for q in pts)]
    return "; ".join(numbers)


def refusal_numbers(kind, pts, words):
    on, g = pts[pts[:, 4] == 1], lambda v: "%.6g" % v
    if words[0] in ("!RepeatedPoints", "!CollinearPoints"):  # in pixels, or map units
        unit, side = (TPP, slice(0, 2)) if words[1] == "picture" else (1, slice(2, 4))
        chosen = pts[[int(i) for i in words[2:-2]], side]
        value = np.hypot(*(chosen[0] - chosen[1])) if words[0] == "!RepeatedPoints" else thickness(chosen)
        limit = TPP / 2 * (1 if unit == TPP else spread(on[:, 2:4]) / spread(on[:, :2]))  # on the map by the spreads
        words[-2:] = [g(value / unit), g(limit / unit)]
    elif words[0] == "!IllConditioned":  # of the design matrix on picture positions at an RMS distance of sqrt 2
        n = (on[:, :2] - on[:, :2].mean(axis=0)) * np.sqrt(2) / spread(on[:, :2])
        words[1:] = [g(np.linalg.cond(np.column_stack([n, np.ones(len(n))]))), "1e+08"]
    elif words[0] == "!HorizonInPicture":  # where h6 u + h7 v + 1 = 0 meets the border: top, bottom, left, right
        _, h, pc = fit(kind, on[:, :4])
        a, b, c = h[6] / 1e4, h[7] / 1e4, 1 - (h[6] * pc[0] + h[7] * pc[1]) / 1e4
        hits = [(-(b * y + c) / a, y) for y in (0, H)] + [(x, -(a * x + c) / b) for x in (0, W)]
        words[1:] = [g(t / TPP) for x, y in hits if 0 <= x <= W and 0 <= y <= H for t in (x, y)][:4]
    return " ".join(words)


def transform(field):
    kind, *k = field.split()
    if kind == "edges":
        L, R, T, B = map(float, k)
        return lambda x, y: (L + x / W * (R - L), T + y / H * (B - T))
    k = [float(v) for v in k] + [1, 0, 0][len(k) - 6:]
    return lambda x, y: ((k[0] + k[1] * x + k[2] * y) / (k[6] + k[7] * x + k[8] * y),
                         (k[3] + k[4] * x + k[5] * y) / (k[6] + k[7] * x + k[8] * y))


def closest_frame(model):  # the lines closest to X averaged over y and to Y averaged over x, about the centre
    t, w = np.polynomial.legendre.leggauss(400)
    (X, Y), (cx, cy) = model(*np.meshgrid((t + 1) * W / 2, (t + 1) * H / 2)), model(W / 2, H / 2)
    sx, ix = np.polyfit(t * W / 2, w @ (X - cx) / 2, 1, w=np.sqrt(w))
    sy, iy = np.polyfit(t * H / 2, (Y - cy) @ w / 2, 1, w=np.sqrt(w))
    return cx + ix - sx * W / 2, cx + ix + sx * W / 2, cy + iy - sy * H / 2, cy + iy + sy * H / 2


for line in open(__file__.replace(".py", ".cases")):
    f = [x.strip() for x in line.split("|")]
    if line.startswith("#") or f[1:2] not in (["fit"], ["transform"]):
        continue
    if f[1] == "fit":
        pts = np.array([[float(v) for v in q.split(",")[:4]] + [",off" not in q] for q in f[3].split(";")])
    if f[1] == "fit" and f[-1] == "ok":
        f[4] = fit_numbers(f[2], pts, f[4], round(-np.log10(float(f[5]))) + 2)
    elif f[1] == "fit" and re.match("!(Rep|Col|Ill|Hor)", f[-1]):
        f[-1] = refusal_numbers(f[2], pts, f[-1].split())
    elif f[1] == "transform" and f[5] == "ok":
        L, R, T, B = closest_frame(transform(f[2]))
        f[3] = " ".join(text(v, 10) for v in (L, R, T, B))
        f[6] = ("EAST " if R > L else "WEST ") + ("NORTH" if B < T else "SOUTH")
    print(" | ".join(f))
