# The two commands of the README, plus the benchmarks.
.PHONY: run test bench clean

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh

bench:
	bash scripts/bench.sh

clean:
	rm -rf build
