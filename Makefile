# The two commands of the README, plus the benchmarks and the Windows package.
.PHONY: run test bench dist clean

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh

bench:
	bash scripts/bench.sh

dist:
	bash scripts/dist.sh

clean:
	rm -rf build
